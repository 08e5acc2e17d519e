// Feeds arbitrary bytes to the .tab reader and loads the result into a table, checking what every
// caller relies on: a full image of bytes, whatever the input.

#include "tab_file.h"
#include "table_model.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TabFileContent content = decodeTabFile(std::span<const std::uint8_t>(data, size));
    for (const int entry : content.image) {
        if (entry < 0 || entry > 255)
            __builtin_trap();
    }
    // A whole image reads back byte for byte; a short one gets Tab2 from Tab1.
    for (int maf = Tab2FirstMaf; maf < MafCount; ++maf) {
        const int expected = size >= TabFileImageSize ? data[tab2Index(maf)] : content.image[maf];
        if (content.image[tab2Index(maf)] != expected)
            __builtin_trap();
    }
    if (content.learnedValues.has_value() != (size >= TabFileMaxSize))
        __builtin_trap();

    TableModel model;
    model.LoadTabFile(TableSet::First, content);
    model.SetEndsInterpolation(size % 2 == 0);
    model.SetInvert(size % 3 == 0);
    model.SetPoint(TableCurve::Set1Tab1, size % MafCount, content.image[size % MafCount], true);
    (void)ShowParameters(model.image(TableSet::First));
    return 0;
}
