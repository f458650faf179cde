#pragma once
// Widening a table's columns to their contents, header cells included (the
// view's own sizing leaves out header cells that span several rows).
namespace velmora::qt {
class GridView;
}

namespace velmora::budget {

void widen_to_contents(qt::GridView* view);

}  // namespace velmora::budget
