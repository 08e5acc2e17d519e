#include "table_image.h"

#include "numbers.h"

int tab2Value(const TableImage& image, int maf) {
    return maf < Tab2FirstMaf ? image[maf] : image[tab2Index(maf)];
}

bool table2InEffect(int tps, std::string_view thresholdText) {
    return leadingInteger(thresholdText) < tps;
}

TableImageBytes imageBytes(const TableImage& image) {
    TableImageBytes bytes{};
    for (int i = 0; i < TableImageSize; ++i)
        bytes[i] = static_cast<std::uint8_t>(image[i] & 0xFF);
    return bytes;
}

void CopyRegion(CopyMode mode, const TableImage& source, TableImage& target) {
    const bool fromTab2 = mode == CopyMode::Tab2ToTab1 || mode == CopyMode::Tab2ToTab2;
    const bool toTab2 = mode == CopyMode::Tab1ToTab2 || mode == CopyMode::Tab2ToTab2;
    const int first = mode == CopyMode::Tab1ToTab1 ? 0 : Tab2FirstMaf;
    for (int maf = first; maf < MafCount; ++maf)
        target[toTab2 ? tab2Index(maf) : maf] = source[fromTab2 ? tab2Index(maf) : maf];
}
