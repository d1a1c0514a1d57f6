// Queue throughput (append then take, events per second) and the time to load
// a resource that sits at the end of a 1 MiB resource file image, the loader's
// worst case since it scans the whole image for every request.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "mantle/mes_queue.h"
#include "mantle/resource_image.h"
#include "mantle/tests/res_builder.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void QueueThroughput() {
  mantle::MesQueue queue;
  constexpr std::uint32_t kBurst = 1000;
  constexpr int kRounds = 5000;
  QueuedMessage out{};
  std::uint64_t checksum = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < kRounds; ++r) {
    for (std::uint32_t i = 0; i < kBurst; ++i) queue.Append(QueuedMessage{1, 0x0102, i, 0, 0});
    while (queue.Take(out) != 0) checksum += out.wParam;
  }
  const double s = Seconds(start);
  std::printf("queue append+take   %12.0f events/s  (bursts of %u, checksum %llu)\n",
              kRounds * double(kBurst) / s, kBurst, static_cast<unsigned long long>(checksum));
}

void ScanToTheEnd() {
  mantle::testing::ResBuilder res;
  // Filler entries whose data are bitmap-like (many FF bytes) up to 1 MiB.
  std::vector<std::uint8_t> filler(4096);
  for (std::size_t i = 0; i < filler.size(); ++i) filler[i] = (i % 3 == 0) ? 0xFF : std::uint8_t(i);
  std::uint16_t id = 1;
  while (res.bytes.size() < (1u << 20) - 2 * filler.size()) res.Add(2, id++, filler);
  res.Add(mantle::kDialogType, std::string_view("LASTDIALOG"), std::vector<std::uint8_t>(300, 1));
  const auto pattern = *mantle::BuildSearchPattern(mantle::kDialogType, std::string_view("LASTDIALOG"));
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "mantle_bench.res";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(res.bytes.data()), static_cast<std::streamsize>(res.bytes.size()));

  constexpr int kRounds = 200;
  for (const bool from_file : {false, true}) {
    std::size_t total = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < kRounds; ++r) {
      // As the loader does: the whole image afresh per request, the scan, a copy of the data.
      std::vector<std::uint8_t> image;
      if (from_file) {
        std::ifstream file(path, std::ios::binary);
        image.resize(static_cast<std::size_t>(std::filesystem::file_size(path)));
        file.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
      } else {
        image = res.bytes;
      }
      const auto data = mantle::FindResourceData(image, pattern);
      std::vector<std::uint8_t> block(data->begin(), data->end());
      total += block.size();
    }
    std::printf("load at end of %zu-byte image %s  %8.1f us per load (%zu bytes)\n", res.bytes.size(),
                from_file ? "(file read)  " : "(image copy) ", Seconds(start) / kRounds * 1e6,
                total / kRounds);
  }
  std::filesystem::remove(path);
}

}  // namespace

int main() {
  QueueThroughput();
  ScanToTheEnd();
  return 0;
}
