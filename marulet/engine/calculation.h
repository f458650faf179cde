#pragma once
// "To Calculate" and the two situation views of the results table.
#include "common/ports.h"
#include "marulet/engine/document.h"

namespace velmora::marulet {

enum class Outcome {
    Done,     // the results table is filled
    Refused,  // the data check or a missing diameter stopped it before any pass
    Stopped,     // an error stopped it (the tables are as far as they were filled)
    Incomplete,  // a pipe did not converge in the final pass: that pass ended there
};

// The whole calculation. Messages carry the checks' warnings and the errors
// that stop it.
Outcome calcular(Document& doc, Messages& messages, Progress& progress);

// "At the Begining of the Period" and "At the End of the Designing Period":
// refill columns 6 and 7 and recompute the table for that situation with the
// routes and design slopes of the last calculation.
Outcome view_current(Document& doc, Messages& messages, Progress& progress);
Outcome view_future(Document& doc, Messages& messages, Progress& progress);

// Peak factor (18 + sqrt(P/1000)) / (4 + sqrt(P/1000)).
double peak_factor(double population);

}  // namespace velmora::marulet
