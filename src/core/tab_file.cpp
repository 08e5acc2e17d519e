#include "tab_file.h"

#include "file_io.h"
#include "table_parameters.h"

#include <algorithm>

namespace fs = std::filesystem;

TabFileContent decodeTabFile(std::span<const std::uint8_t> bytes) {
    TabFileContent content;
    const std::size_t present = std::min(bytes.size(), TabFileImageSize);
    std::copy_n(bytes.begin(), present, content.image.begin());
    if (present < TabFileImageSize)
        CopyRegion(CopyMode::Tab1ToTab2, content.image, content.image);
    if (present <= static_cast<std::size_t>(ParameterBlockStart))
        SetDefaultParameters(content.image);
    if (bytes.size() >= TabFileMaxSize) {
        MafValues learned{};
        std::copy_n(bytes.begin() + TabFileImageSize, TabFileLearnedSize, learned.begin());
        content.learnedValues = learned;
    }
    return content;
}

TabFileContent readTabFile(const fs::path& name) {
    return decodeTabFile(readFilePrefix(name, TabFileMaxSize));
}

fs::path withTabExtension(const fs::path& name) {
    const fs::path::string_type extension = fs::path(".tab").native();
    const fs::path::string_type& text = name.native();
    if (text.size() >= extension.size() &&
        text.compare(text.size() - extension.size(), extension.size(), extension) == 0)
        return name;
    return fs::path(text + extension);
}

fs::path saveTabFile(const fs::path& name, const TableImage& image) {
    const fs::path target = withTabExtension(name);
    const TableImageBytes bytes = imageBytes(image);
    saveFileReplacing(target, bytes);
    return target;
}

std::string_view tabFileErrorMessage(FileError::Reason reason) {
    switch (reason) {
    case FileError::Reason::CannotRead:
        return TabFileLoadErrorMessage;
    case FileError::Reason::CannotReplace:
        return CantDeleteBeforeSavingMessage;
    case FileError::Reason::CannotCreate:
        break;
    }
    return TabFileSaveErrorMessage;
}

std::string defaultTabFileName(std::string_view dateTimeText) {
    std::string name = "D";
    for (const char c : dateTimeText) {
        if (c == ':' || c == '.' || c == '/' || c == '\\')
            name += '_';
        else if (c == ' ')
            name += "_T";
        else
            name += c;
    }
    return name;
}
