#pragma once
// "Component's description": the ten fields of a component, the changed flag
// and what "Ok" and "Cancel" lead to. The window only shows the fields and
// acts on the outcome.
#include "budget/engine/catalogues.h"
#include "common/ports.h"

namespace velmora::budget {

class ComponentDescription {
public:
    enum class Outcome {
        Close,      // the window closes
        StayOpen,   // the window stays open (no file name was entered)
        EnterBill,  // the bill editor opens for the new component, then the window closes
    };

    ComponentFields fields;
    bool changed = false;
    // False when the window shows a listed component ("Edit"): nothing is
    // written back then, so "Ok" and "Cancel" close without questions and no
    // bill file is started over a component's bill.
    bool for_new_component = true;

    // Shows a component's fields (or empty ones) with the flag cleared.
    void load(const ComponentFields& f, bool new_component = true);
    // A key released in any field.
    void edited() { changed = true; }

    // "Ok": with changes, asks whether to enter the data of the new
    // component; Yes needs a file name.
    Outcome ok(Messages& messages);
    // "Cancel": with changes, asks whether to save them; Yes runs "Ok" (and a
    // component confirmed that way keeps its flag, so its editor keeps it).
    // Otherwise the flag is cleared.
    Outcome cancel(Messages& messages);
};

}  // namespace velmora::budget
