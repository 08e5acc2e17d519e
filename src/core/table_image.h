#pragma once
// The converter's table memory as the configurator mirrors it: Tab1 at entries 0..255, the eight
// parameters at 256..263, Tab2 for MAF 8..255 at 256 + MAF. Entries are 32-bit in memory; only their
// low 8 bits go to the converter and into files.

#include <array>
#include <cstdint>
#include <string_view>

inline constexpr int TableImageSize = 512;
inline constexpr int MafCount = 256;
inline constexpr int ParameterBlockStart = 256;
inline constexpr int ParameterCount = 8;
// Table 2 has no entries below this MAF (the parameters sit there); Tab1 stands in for it.
inline constexpr int Tab2FirstMaf = 8;

using TableImage = std::array<int, TableImageSize>;
using TableImageBytes = std::array<std::uint8_t, TableImageSize>;
// One value per MAF input 0..255 (learned values and learned knot marks).
using MafValues = std::array<int, MafCount>;

enum class CopyMode { Tab1ToTab2, Tab2ToTab1, Tab1ToTab1, Tab2ToTab2 };

constexpr int tab2Index(int maf) {
    return ParameterBlockStart + maf;
}

// Table 2 as shown and read: Tab1 for MAF 0..7, Tab2 above.
int tab2Value(const TableImage& image, int maf);

// Table 2 is in effect when the raw throttle value is strictly above the threshold box's number.
bool table2InEffect(int tps, std::string_view thresholdText);

// The 512 bytes the converter and the .tab file receive: the low 8 bits of every entry.
TableImageBytes imageBytes(const TableImage& image);

// Copies one table range. Tab1 at MAF 0..7 is never a target of Tab2ToTab1; source and target may be
// the same image.
void CopyRegion(CopyMode mode, const TableImage& source, TableImage& target);
