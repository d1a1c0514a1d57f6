#include "t800/asm/source.h"

#include <map>
#include <utility>

#include "t800/asm/lexer.h"

namespace t800asm {

std::string Diagnostic::ToString() const {
  return line > 0 ? file + ":" + std::to_string(line) + ": error: " + message : file + ": error: " + message;
}

namespace {

constexpr int kMaxIncludeDepth = 16;
// A file including itself twice would otherwise be read 2^16 times.
constexpr int kMaxIncludes = 256;
// Past this many the rest are echoes of the first (an include loop, a binary
// file given as source); reading on would only cost time.
constexpr std::size_t kMaxErrors = 100;

using Kind = Statement::Kind;

const std::map<std::string, Kind, std::less<>> kDirectives = {
    {".byte", Kind::kByte},           {".int16", Kind::kInt16}, {".word", Kind::kWord},
    {".space", Kind::kSpace},         {".align", Kind::kAlign}, {".equ", Kind::kEquate},
    {".secondary", Kind::kSecondary},
};

// Paths may use either separator (the tool also runs on Windows).
std::string Folder(const std::string& path) {
  auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

class Reader {
 public:
  Reader(const std::vector<std::string>& include_dirs, const FileReader& read)
      : dirs_(include_dirs), read_(read) {}

  void ReadText(const std::string& path, const std::string& text, int depth) {
    std::size_t start = 0;
    int line = 0;
    while (start < text.size() && !stopped_) {
      auto end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string_view content(text.data() + start, end - start);
      if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
      ReadLine(path, ++line, content, depth);
      start = end + 1;
    }
  }

  Source Take() { return std::move(source_); }

 private:
  void Error(const std::string& file, int line, std::string message) {
    if (stopped_) return;
    source_.errors.push_back({file, line, std::move(message)});
    if (source_.errors.size() == kMaxErrors) {
      source_.errors.push_back({file, line, "too many errors; reading stops here"});
      stopped_ = true;
    }
  }

  std::string Qualify(const std::string& name) const {
    return name.size() > 1 && name[0] == '.' ? scope_ + name : name;
  }

  bool Define(const std::string& name, const std::string& file, int line) {
    auto [it, fresh] = defined_.emplace(name, file + ":" + std::to_string(line));
    if (!fresh) Error(file, line, "'" + name + "' is already defined at " + it->second);
    return fresh;
  }

  void Include(const std::string& name, const std::string& file, int line, int depth) {
    if (depth >= kMaxIncludeDepth) {
      Error(file, line, "includes nested too deeply (a file including itself?)");
      return;
    }
    if (++includes_ > kMaxIncludes) {
      Error(file, line, std::string("more than ") + std::to_string(kMaxIncludes) + " includes");
      return;
    }
    std::vector<std::string> candidates;
    bool absolute =
        !name.empty() && (name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':'));
    if (absolute) {
      candidates.push_back(name);
    } else {
      candidates.push_back(Folder(file) + name);
      for (const auto& dir : dirs_) {
        bool ends_in_separator = dir.empty() || dir.back() == '/' || dir.back() == '\\';
        candidates.push_back(ends_in_separator ? dir + name : dir + "/" + name);
      }
    }
    for (const auto& candidate : candidates) {
      if (auto text = read_(candidate)) {
        ReadText(candidate, *text, depth + 1);
        return;
      }
    }
    Error(file, line, "cannot find include file '" + name + "'");
  }

  void ReadLine(const std::string& file, int line, std::string_view text, int depth) {
    std::vector<Token> tokens;
    if (auto error = Tokenize(text, tokens); !error.empty()) {
      Error(file, line, error);
      return;
    }
    Statement s;
    s.file = file;
    s.line = line;
    s.text = std::string(text);
    std::size_t pos = 0;
    auto is_punct = [&](std::size_t at, std::string_view p) {
      return tokens[at].kind == Token::Kind::kPunct && tokens[at].text == p;
    };
    while (tokens[pos].kind == Token::Kind::kName && is_punct(pos + 1, ":")) {
      const std::string& name = tokens[pos].text;
      if (name[0] != '.') scope_ = name;
      std::string qualified = Qualify(name);
      if (Define(qualified, file, line)) s.labels.push_back(qualified);
      pos += 2;
    }
    if (tokens[pos].kind == Token::Kind::kEnd) {
      if (!s.labels.empty()) source_.statements.push_back(std::move(s));
      return;
    }
    if (tokens[pos].kind != Token::Kind::kName) {
      Error(file, line, "expected a label, mnemonic or directive");
      return;
    }
    const std::string head = tokens[pos++].text;
    std::string error;
    if (head == ".include") {
      if (tokens[pos].kind != Token::Kind::kString || tokens[pos + 1].kind != Token::Kind::kEnd) {
        Error(file, line, ".include takes one quoted file name");
        return;
      }
      if (!s.labels.empty()) source_.statements.push_back(s);
      Include(tokens[pos].text, file, line, depth);
      return;
    }
    if (head[0] == '.') {
      auto it = kDirectives.find(head);
      if (it == kDirectives.end()) {
        Error(file, line, "unknown directive '" + head + "'");
        return;
      }
      s.kind = it->second;
      if (s.kind == Kind::kEquate) {
        if (tokens[pos].kind != Token::Kind::kName || !is_punct(pos + 1, ",")) {
          Error(file, line, ".equ takes a name, a comma and a value");
          return;
        }
        s.name = Qualify(tokens[pos].text);
        if (!Define(s.name, file, line)) return;
        pos += 2;
      }
      if (s.kind == Kind::kSecondary) {
        if (secondary_) {
          Error(file, line, ".secondary appears more than once");
          return;
        }
        secondary_ = true;
      }
    } else {
      s.mnemonic = FindMnemonic(head);
      if (!s.mnemonic) {
        Error(file, line, "unknown mnemonic '" + head + "'");
        return;
      }
      s.kind = Kind::kInstruction;
    }
    // Operands: a comma-separated list of expressions (strings only in .byte).
    while (tokens[pos].kind != Token::Kind::kEnd) {
      if (!s.operands.empty()) {
        if (!is_punct(pos, ",")) {
          Error(file, line, "unexpected '" + tokens[pos].text + "'");
          return;
        }
        ++pos;
      }
      Operand operand;
      if (tokens[pos].kind == Token::Kind::kString && s.kind == Kind::kByte) {
        operand.bytes = tokens[pos++].text;
      } else {
        operand.expression =
            Expression::Parse(tokens, pos, error, [this](const std::string& n) { return Qualify(n); });
        if (!operand.expression) {
          Error(file, line, error);
          return;
        }
      }
      s.operands.push_back(std::move(operand));
    }
    if (auto count_error = CheckOperandCount(s, head); !count_error.empty()) {
      Error(file, line, count_error);
      return;
    }
    source_.statements.push_back(std::move(s));
  }

  static std::string CheckOperandCount(const Statement& s, const std::string& head) {
    std::size_t n = s.operands.size();
    bool ok = true;
    switch (s.kind) {
      case Kind::kInstruction: {
        bool takes = s.mnemonic->kind != OpKind::kOperation && s.mnemonic->kind != OpKind::kFpEntry;
        if (n != (takes ? 1u : 0u)) return takes ? head + " takes one operand" : head + " takes no operand";
        break;
      }
      case Kind::kByte:
      case Kind::kInt16:
      case Kind::kWord:
        ok = n >= 1;
        break;
      case Kind::kSpace:
        ok = n == 1 || n == 2;
        break;
      case Kind::kAlign:
      case Kind::kEquate:
        ok = n == 1;
        break;
      case Kind::kSecondary:
        ok = n == 0;
        break;
      case Kind::kLabelsOnly:
        break;
    }
    return ok ? std::string() : "wrong number of operands for " + head;
  }

  const std::vector<std::string>& dirs_;
  const FileReader& read_;
  Source source_;
  std::map<std::string, std::string> defined_;  // name -> where
  std::string scope_;
  bool secondary_ = false;
  int includes_ = 0;
  bool stopped_ = false;
};

}  // namespace

Source ReadSource(const std::string& path, const std::vector<std::string>& include_dirs,
                  const FileReader& read) {
  Reader reader(include_dirs, read);
  if (auto text = read(path)) {
    reader.ReadText(path, *text, 0);
    return reader.Take();
  }
  Source source;
  source.errors.push_back({path, 0, "cannot read the file"});
  return source;
}

}  // namespace t800asm
