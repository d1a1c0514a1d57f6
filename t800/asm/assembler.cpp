#include "t800/asm/assembler.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "t800/asm/encoding.h"

namespace t800asm {
namespace {

using Kind = Statement::Kind;

constexpr int kMaxPasses = 100;
// Passes in which sizes may also shrink (stale label values early on can make
// an instruction look longer than it ends up); after these they only grow.
constexpr int kFreePasses = 8;
constexpr std::int64_t kMaxSpace = 1 << 24;
constexpr std::int64_t kMaxAlign = 1 << 16;
// A whole program: far beyond any boot file, small enough that a source of
// many large .space statements cannot run the passes or the image away.
constexpr std::int64_t kMaxProgram = 1 << 24;
constexpr std::size_t kMaxPrimary = 255;

bool InRange(std::int64_t v, std::int64_t lo, std::int64_t hi) {
  return v >= lo && v <= hi;
}

// A 32-bit value as the processor sees it: signed or unsigned spellings accepted.
bool FitsWord(std::int64_t v) {
  return InRange(v, -(std::int64_t{1} << 31), (std::int64_t{1} << 32) - 1);
}
std::int32_t AsWord(std::int64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

std::string Hex(std::int64_t v) {
  char buffer[20];
  std::snprintf(buffer, sizeof buffer, "0x%X", static_cast<unsigned>(static_cast<std::uint32_t>(v)));
  return buffer;
}

class Layout {
 public:
  Layout(const std::vector<Statement>& statements, std::int64_t origin)
      : statements_(statements), origin_(origin), sizes_(statements.size(), 0) {}

  // One pass over the statements. Returns whether any size or symbol value
  // changed. The final pass emits bytes and reports errors; the others go
  // on with provisional values (0 for symbols not yet seen).
  bool Pass(bool final, bool grow_only) {
    final_ = final;
    grow_only_ = grow_only;
    changed_ = false;
    image_.clear();
    listing_.clear();
    secondary_at_.reset();
    std::int64_t address = origin_;
    for (std::size_t i = 0; i < statements_.size(); ++i) {
      const Statement& s = statements_[i];
      current_ = &s;
      for (const auto& label : s.labels) Define(label, address);
      std::size_t before = image_.size();
      int size = Size(s, address, sizes_[i]);
      if (size != sizes_[i]) changed_ = true;
      sizes_[i] = size;
      if (final_) {
        image_.resize(before + size, 0);  // emitters that failed leave zeros
        AddListing(s, address, before);
      }
      address += size;
      if (address - origin_ > kMaxProgram) {
        Error("the program is larger than " + std::to_string(kMaxProgram) + " bytes");
        return false;  // settled: the final pass stops here too, with the error
      }
    }
    Define("__end", address);
    return changed_;
  }

  std::vector<Diagnostic>& errors() { return errors_; }
  const std::vector<std::uint8_t>& image() const { return image_; }
  const std::optional<std::int64_t>& secondary_at() const { return secondary_at_; }
  const Statement* secondary_statement() const { return secondary_statement_; }

  std::string Listing() const {
    std::string text = listing_ + "\nsymbols:\n";
    for (const auto& [name, value] : symbols_) text += "  " + name + " = " + Hex(value) + "\n";
    return text;
  }

 private:
  void Error(std::string message) {
    if (final_) errors_.push_back({current_->file, current_->line, std::move(message)});
  }

  void Define(const std::string& name, std::int64_t value) {
    auto [it, fresh] = symbols_.emplace(name, value);
    if (fresh || it->second != value) changed_ = true;
    it->second = value;
  }

  // The operand's value; nothing after an error (reported in the final pass).
  std::optional<std::int64_t> Value(const Operand& operand, std::int64_t here) {
    auto result =
        operand.expression->Evaluate(here, [&](const std::string& name) -> std::optional<std::int64_t> {
          auto it = symbols_.find(name);
          if (it != symbols_.end()) return it->second;
          if (final_) return std::nullopt;
          unresolved_ = true;
          return 0;
        });
    if (!result.error.empty()) {
      Error(result.error);
      return std::nullopt;
    }
    return result.value;
  }

  void Emit(std::uint8_t byte) {
    if (final_) image_.push_back(byte);
  }

  int Size(const Statement& s, std::int64_t address, int old_size) {
    switch (s.kind) {
      case Kind::kLabelsOnly:
        return 0;
      case Kind::kInstruction:
        return Instruction(s, address, old_size);
      case Kind::kByte:
      case Kind::kInt16:
      case Kind::kWord:
        return Data(s, address);
      case Kind::kSpace: {
        auto count = Value(s.operands[0], address);
        if (!count) return old_size;
        if (!InRange(*count, 0, kMaxSpace)) {
          Error(std::string(".space count out of range: ") + std::to_string(*count));
          return old_size;
        }
        std::int64_t fill = 0;
        if (s.operands.size() == 2) {
          auto v = Value(s.operands[1], address);
          if (v && !InRange(*v, -128, 255))
            Error(std::string(".space fill out of range: ") + std::to_string(*v));
          if (v) fill = *v;
        }
        // Filled at once, and only in the final pass: the earlier passes
        // need the size alone.
        if (final_) image_.insert(image_.end(), static_cast<std::size_t>(*count), static_cast<std::uint8_t>(fill));
        return static_cast<int>(*count);
      }
      case Kind::kAlign: {
        auto n = Value(s.operands[0], address);
        if (!n) return old_size;
        if (!InRange(*n, 1, kMaxAlign)) {
          Error(std::string(".align out of range: ") + std::to_string(*n));
          return old_size;
        }
        return Pad(address, *n);
      }
      case Kind::kEquate: {
        if (auto v = Value(s.operands[0], address)) Define(s.name, *v);
        return 0;
      }
      case Kind::kSecondary: {
        int pad = Pad(address, 4);
        secondary_at_ = address + pad;
        secondary_statement_ = &s;
        return pad;
      }
    }
    return 0;
  }

  int Pad(std::int64_t address, std::int64_t n) {
    int pad = static_cast<int>((n - static_cast<std::uint32_t>(address) % n) % n);
    if (final_) image_.insert(image_.end(), static_cast<std::size_t>(pad), std::uint8_t{0});
    return pad;
  }

  int Instruction(const Statement& s, std::int64_t address, int old_size) {
    const Mnemonic& m = *s.mnemonic;
    switch (m.kind) {
      case OpKind::kOperation: {
        if (final_) EncodeOperation(m.code, image_);
        return OperationLength(m.code);
      }
      case OpKind::kFpEntry: {
        auto sub_function = static_cast<std::int32_t>(m.code);
        int ldc_length = EncodedLength(kFnLdc, sub_function);
        if (final_) {
          Encode(kFnLdc, sub_function, ldc_length, image_);
          EncodeOperation(kOpFpEntry, image_);
        }
        return ldc_length + OperationLength(kOpFpEntry);
      }
      case OpKind::kPrefix: {
        auto v = Value(s.operands[0], address);
        if (v && !InRange(*v, 0, 15))
          Error(std::string("operand out of range for ") + std::string(m.name) +
                " (0..15): " + std::to_string(*v));
        else if (v)
          Emit(static_cast<std::uint8_t>((m.code << 4) | *v));
        return 1;
      }
      case OpKind::kDirect:
      case OpKind::kRelative:
        break;
    }
    int size = grow_only_ ? std::max(old_size, 1) : 1;
    unresolved_ = false;
    auto v = Value(s.operands[0], address);
    // A stand-in 0 for a symbol not seen yet must not make the instruction grow.
    if (!v || unresolved_) return std::max(old_size, 1);
    if (!FitsWord(*v)) {
      Error(std::string("operand out of range: ") + std::to_string(*v));
      return std::max(old_size, 1);
    }
    // A relative operand counts from the end of the instruction itself.
    if (m.kind == OpKind::kRelative) {
      // The displacement shrinks as the instruction grows: take the first
      // size that holds it (at most nine bytes hold any 32-bit value).
      while (EncodedLength(m.code, AsWord(*v - (address + size))) > size) ++size;
    }
    std::int32_t operand = m.kind == OpKind::kRelative ? AsWord(*v - (address + size)) : AsWord(*v);
    size = std::max(size, EncodedLength(m.code, operand));
    if (final_) Encode(m.code, operand, size, image_);
    return size;
  }

  int Data(const Statement& s, std::int64_t address) {
    int width = s.kind == Kind::kByte ? 1 : s.kind == Kind::kInt16 ? 2 : 4;
    std::int64_t lo = -(std::int64_t{1} << (8 * width - 1)), hi = (std::int64_t{1} << (8 * width)) - 1;
    int size = 0;
    for (const Operand& operand : s.operands) {
      if (!operand.expression) {
        for (char c : operand.bytes) Emit(static_cast<std::uint8_t>(c));
        size += static_cast<int>(operand.bytes.size());
        continue;
      }
      std::uint64_t bits = 0;
      if (auto v = Value(operand, address); v && !InRange(*v, lo, hi)) {
        Error(std::string("value out of range for ") + std::to_string(width * 8) +
              " bits: " + std::to_string(*v));
      } else if (v) {
        bits = static_cast<std::uint64_t>(*v);
      }
      for (int k = 0; k < width; ++k) Emit(static_cast<std::uint8_t>(bits >> (8 * k)));
      size += width;
    }
    return size;
  }

  void AddListing(const Statement& s, std::int64_t address, std::size_t from) {
    char head[16];
    std::snprintf(head, sizeof head, "%08X ", static_cast<unsigned>(static_cast<std::uint32_t>(address)));
    std::string bytes;
    for (std::size_t k = from; k < image_.size() && k < from + 8; ++k) {
      char b[4];
      std::snprintf(b, sizeof b, "%02X ", image_[k]);
      bytes += b;
    }
    if (image_.size() > from + 8) bytes += "...";
    bytes.resize(28, ' ');
    listing_ += head + bytes + s.text + "\n";
  }

  const std::vector<Statement>& statements_;
  std::int64_t origin_;
  std::vector<int> sizes_;
  std::map<std::string, std::int64_t> symbols_;
  std::vector<std::uint8_t> image_;
  std::vector<Diagnostic> errors_;
  std::string listing_;
  std::optional<std::int64_t> secondary_at_;
  const Statement* secondary_statement_ = nullptr;
  const Statement* current_ = nullptr;
  bool final_ = false;
  bool grow_only_ = false;
  bool changed_ = false;
  bool unresolved_ = false;
};

void PutWord(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
}

}  // namespace

Assembly Assemble(const std::string& path, const Options& options, const FileReader& read) {
  Assembly result;
  Source source = ReadSource(path, options.include_dirs, read);
  if (!source.errors.empty()) {
    result.errors = std::move(source.errors);
    return result;
  }
  Layout layout(source.statements, options.origin);
  int passes = 0;
  while (layout.Pass(false, passes >= kFreePasses)) {
    if (++passes == kMaxPasses) {
      result.errors.push_back({path, 0, "the layout does not settle: sizes or symbol values keep changing"});
      return result;
    }
  }
  layout.Pass(true, true);
  result.errors = std::move(layout.errors());
  result.listing = layout.Listing();
  result.image = layout.image();
  if (!result.errors.empty()) return result;

  const Statement* at = layout.secondary_statement();
  std::size_t primary = layout.secondary_at()
                            ? static_cast<std::size_t>(*layout.secondary_at() - options.origin)
                            : result.image.size();
  if (primary > kMaxPrimary) {
    Diagnostic d{at ? at->file : path, at ? at->line : 0,
                 "the primary bootstrap takes " + std::to_string(primary) + " bytes; at most 255 fit"};
    if (!at) d.message += " (use .secondary to load the rest)";
    result.errors.push_back(std::move(d));
    return result;
  }
  if (at && primary == result.image.size()) {
    result.errors.push_back({at->file, at->line, "nothing follows .secondary"});
    return result;
  }
  // The processor takes a first byte of 0 or 1 for poke and peek.
  if (primary < 2 && at) {
    result.errors.push_back({at->file, at->line, "no primary bootstrap before .secondary"});
    return result;
  }
  if (primary < 2) {
    result.image.resize(result.image.size() + 2 - primary, 0);
    primary = 2;
  }
  result.primary_size = primary;
  auto& out = result.boot_file;
  out.push_back(static_cast<std::uint8_t>(primary));
  out.insert(out.end(), result.image.begin(), result.image.begin() + static_cast<std::ptrdiff_t>(primary));
  if (at) {
    PutWord(out, static_cast<std::uint32_t>(result.image.size() - primary));
    out.insert(out.end(), result.image.begin() + static_cast<std::ptrdiff_t>(primary), result.image.end());
  }
  return result;
}

}  // namespace t800asm
