// The XJ roster grid's columns: the titles of the printed roster (grouped in three
// levels, the year of the group taken from the settings), default widths, alignments.
#pragma once

#include <QStringList>

#include <vector>

namespace quvela::xj {

inline constexpr int kXjGridColumns = 32;

// Titles of grid columns 0..31 (table columns xh..whcd) for the adjustment year.
QStringList xjGridTitles(int year);
// Cell alignment of grid columns 0..31.
std::vector<Qt::Alignment> xjGridAlignments();

} // namespace quvela::xj
