#include "db/classcatalogue.h"

#include <array>

namespace ClassCatalogue {

namespace {
constexpr std::array<ClassRow, 17> Rows{{
    {1, "Western Fitting and Showing", 4, "WfandS.bmp"},
    {2, "Saddle Seat Fitting and Showing", 4, "SSFandS.bmp"},
    {3, "Hunt Seat Fitting and Showing", 4, "HSFandS.bmp"},
    {4, "Saddle Seat Equitation", 4, "SSE.bmp"},
    {5, "Saddle Seat Pattern", 3, "SSP.bmp"},
    {6, "Saddle Seat Bareback", 4, "SSBB.bmp"},
    {7, "Hunt Seat Equitation", 4, "HSE.bmp"},
    {8, "Hunt Seat Bareback", 4, "HSBB.bmp"},
    {9, "Hunt Seat Over Fences", 3, "HSOF.bmp"},
    {10, "Western Equitation", 4, "WE.bmp"},
    {11, "Western Bareback", 4, "WBB.bmp"},
    {12, "Western Riding / Reining", 3, "WR.bmp"},
    {13, "Trail", 3, "T.bmp"},
    {14, "Flag Race", 4, "FR.bmp"},
    {15, "Cloverleaf Race", 4, "CR.bmp"},
    {16, "Timed Event", 4, "TE.bmp"},
    {17, "Two Person Relay", 3, "2PR.bmp"},
}};
} // namespace

std::span<const ClassRow> rows()
{
    return Rows;
}

} // namespace ClassCatalogue
