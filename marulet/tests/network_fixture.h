#pragma once
// Small networks for the engine tests: a document with the default reference
// data (in memory) and the given pipe rows.
#include "marulet/engine/document.h"

#include <string>
#include <vector>

namespace velmora::marulet::testing {

struct PipeRow {
    std::string from, to, length, ground_from, ground_to, households;
    std::string material = "PVC";
    std::string inch = "8", mm = "200", internal = "7.92";
};

inline void set_default_reference(Document& doc) {
    doc.parameters = DesignParameters{};
    doc.materials.set_row_count(3);
    doc.materials.set_row(1, {"PVC", "0.009", "0"});
    doc.materials.set_row(2, {"Concrete", "0.014", "20"});
    doc.catalogue = Grid(5, 4);
    doc.catalogue.set_row(0, {"Code", "Material", "in", "mm", "Internal"});
    doc.catalogue.set_row(1, {"1", "PVC", "6", "150", "5.92"});
    doc.catalogue.set_row(2, {"2", "PVC", "8", "200", "7.92"});
    doc.catalogue.set_row(3, {"3", "Concrete", "8", "200", "8.00"});
    doc.materiallist = {"PVC", "Concrete"};
}

inline Document network(const std::vector<PipeRow>& pipes) {
    Document doc;
    set_default_reference(doc);
    doc.SG4.set_row_count(static_cast<int>(pipes.size()) + 2);
    for (size_t k = 0; k < pipes.size(); ++k) {
        const PipeRow& p = pipes[k];
        doc.SG4.set_row(static_cast<int>(k) + 2, {std::to_string(k + 1), p.from, p.to, p.length, p.ground_from,
                                                  p.ground_to, p.households, p.material, p.inch, p.mm, p.internal});
    }
    return doc;
}

}  // namespace velmora::marulet::testing
