#pragma once
// Flows and invert levels of the four table passes: routes from every head
// pipe to an outlet, section and accumulated flows, start and end levels,
// the junction pass and the terrain slopes.
#include "common/errors.h"
#include "marulet/engine/document.h"

#include <string>
#include <vector>

namespace velmora::marulet {

// A calculation stopped with a message for the user (title and text).
class CalculationStop : public CommandError {
public:
    CalculationStop(std::string title, const std::string& text) : CommandError(text), title_(std::move(title)) {}
    const std::string& title() const { return title_; }

private:
    std::string title_;
};

// Node names of the data rows as small integers (equal names, equal ids).
struct NodeIds {
    std::vector<int> from, to;  // index = pipe number - 1
    int count = 0;
};
NodeIds node_ids(const Document& doc, int nl);

// Builds `RutaList`. A route that does not reach an outlet node within the
// bound (a closed loop), or a pipe that lies on no route, makes the network
// not calculable: CalculationStop naming the pipes.
void build_routes(Document& doc);

// Population of a section: round(h x p x (1 + r/100)^e), ties to even. Throws
// CalculationStop when it does not fit the 0..65535 range of the field.
unsigned population(double households, double people_per_house, double growth_rate, double exponent, int pipe);

void tablaactual(Document& doc);
void tablafutura(Document& doc);
void tablafinalactual(Document& doc);
void tablafinalfutura(Document& doc);

}  // namespace velmora::marulet
