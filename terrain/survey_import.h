#pragma once
// Handing a survey book to a designer: its shots become the rows of the
// designer's input table and two-point pipelines of its plan.
//
// The designer calls these after the survey book window closed with an
// export, passing its own tables and lists:
//
//   Kelvaro ("Survey Book Sheet"), when book.exported():
//     the designer first takes the project name from book.last_file() and
//     runs "New" (with its save question); then
//       import_survey_kelvaro(book.ZCSG1, book.exported_view(), plan_area,
//                             ZCSG4, plan, boxes);
//     then starts a new pipeline at the next click, redraws the plan, enables
//     "To Calculate" and the plan tools and clears the progress display.
//
//   Marulet ("Survey Book Sheet"), when book.exported() (planimetry) or
//   book.exportedctotales() (total coordinates):
//       import_survey_marulet(book.ZCSG1, view, plan_area, SG4, plan);
//     then redraws the plan, enables "To Calculate" and the contour controls,
//     clears the progress display and makes the result tabs unavailable.
//
// `view` says which columns hold the coordinates, elevations, distance and
// households: the planimetry view (Total X, Y in 19, 20; Elevation From, To in
// 14, 15; Distance 16; Households 13) or the total coordinates view ("to" X, Y
// in 8, 9; "From" Z 7, "to" Z 10; Distance 3; Households 4). The altimetry
// view exports nothing: the functions then change nothing and return false.
//
// A survey point (X, Y) goes to plan position
//   x = round((X - min X) * kx + 30), y = round(height - 50 - (Y - min Y) * ky)
// with kx = (width - 100) / (max X - min X), or 100 when max X = min X (ky
// likewise with the height), over the data rows (rows 2 up to the first whose
// "To #" reads as 0).
#include "common/grid.h"
#include "terrain/plan_lists.h"
#include "terrain/survey_book.h"

namespace velmora::terrain {

// Kelvaro: replaces the four plan lists and the four box lists (entry 0 = the
// source, the "From #" of row 2 at survey position 0, 0) and fills the input
// table ZCSG4 (columns 0-7: pipe, From, To, Length, From and To elevation,
// households, network "1"); the table ends before the first survey row whose
// "From #" reads as 0. Extents start at min 1e10 and max 0.
bool import_survey_kelvaro(const Grid& survey, SurveyView view, PlanArea area, Grid& ZCSG4, PlanLists& plan,
                           BoxLists& boxes);

// Marulet: replaces the five plan lists (every point flagged "i") and fills
// columns 0-6 of the pipe table SG4 (material and diameters untouched); the
// table ends after the last survey row whose "From #" reads as non-zero.
// Extents start at 0, so the survey origin is always inside.
bool import_survey_marulet(const Grid& survey, SurveyView view, PlanArea area, Grid& SG4, PlanLists& plan);

}  // namespace velmora::terrain
