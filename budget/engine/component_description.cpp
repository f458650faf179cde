#include "budget/engine/component_description.h"

namespace velmora::budget {

void ComponentDescription::load(const ComponentFields& f, bool new_component) {
    fields = f;
    changed = false;
    for_new_component = new_component;
}

ComponentDescription::Outcome ComponentDescription::ok(Messages& messages) {
    if (!changed || !for_new_component) return Outcome::Close;
    if (messages.question("Do you want to enter the data for the new component?") != Answer::Yes)
        return Outcome::Close;
    if (fields.file.empty()) {
        messages.notice("A file name must be entered");
        return Outcome::StayOpen;
    }
    return Outcome::EnterBill;
}

ComponentDescription::Outcome ComponentDescription::cancel(Messages& messages) {
    if (changed && for_new_component &&
        messages.question("The data have changed. Would you like to save the changes", "warning") == Answer::Yes) {
        Outcome o = ok(messages);
        if (o == Outcome::EnterBill) return o;
    }
    changed = false;
    return Outcome::Close;
}

}  // namespace velmora::budget
