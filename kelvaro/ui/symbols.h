#pragma once
// The pictures the Kelvaro drawings name: "crp" (a break pressure box on the
// plan, 12 x 15 pixels) and "marker" (the reading cursor on the profiles).
namespace velmora::kelvaro::ui {

// Registers them with the canvas once.
void register_symbols();

}  // namespace velmora::kelvaro::ui
