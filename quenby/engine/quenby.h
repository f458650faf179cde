#pragma once
// Quenby's engine: what its window shows at each step of the updater download,
// and the safe replacement of the updater file.
#include "common/ports.h"

#include <cstdint>
#include <string>

namespace velmora::quenby {

struct QuenbyView {
    std::string line1 = "Downloading Updater";
    std::string line2;
    std::int64_t maximum = 100;
    std::int64_t position = 0;
};

inline constexpr const char* kQuenbyFailure = "It is not possible to update the downloader file, please try later";

class QuenbyDownload {
public:
    const QuenbyView& view() const { return view_; }
    void start();                                            // "Processing" / "Downloading..."
    void progress(std::int64_t received, std::int64_t total);  // bytes so far, announced length
    void downloaded(std::int64_t size);                      // the transfer ended
    void installed();                                        // the file was written
    bool started_receiving() const { return receiving_; }

private:
    QuenbyView view_;
    bool receiving_ = false;
};

}  // namespace velmora::quenby
