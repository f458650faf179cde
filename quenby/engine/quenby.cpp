#include "quenby/engine/quenby.h"


namespace velmora::quenby {

void QuenbyDownload::start() {
    view_.line1 = "Processing";
    view_.line2 = "Downloading...";
    view_.position = 0;
}

void QuenbyDownload::progress(std::int64_t received, std::int64_t total) {
    if (!receiving_) {
        // The first report announces the length.
        receiving_ = true;
        view_.maximum = total > 0 ? total : 0;
        view_.position = 0;
    }
    if (total > 0) view_.maximum = total;
    view_.position = received;
    view_.line2 = "Sorvik.exe " + std::to_string(received / 1024) + " Kb";
}

void QuenbyDownload::downloaded(std::int64_t size) {
    view_.position = 0;
    view_.line2 = "Downloaded";
    view_.maximum = size / 1024;
}

void QuenbyDownload::installed() { view_.line2 = "The updates have been installed"; }

}  // namespace velmora::quenby
