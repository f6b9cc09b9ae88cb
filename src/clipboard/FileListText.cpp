#include "clipboard/FileListText.h"

#include "clipboard/DropFiles.h"
#include "common/WindowText.h"

namespace clipboard {

namespace {

std::string NameToUtf8(const std::string& name, bool wide) {
    if (wide) return common::Narrow(reinterpret_cast<const wchar_t*>(name.data()), name.size() / 2);
    return common::FromAnsi(name.data(), name.size());
}

}  // namespace

std::string FileListText(const std::string& dropFiles) {
    const DropNames list = ParseDropFiles(dropFiles);
    std::string paths;
    for (const std::string& name : list.names) paths += NameToUtf8(name, list.wide) + "\r\n";
    return paths;
}

}  // namespace clipboard
