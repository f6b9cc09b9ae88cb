// Password managers mark the secrets they copy with registered clipboard formats; a copy so marked is
// never captured. When a marker's value cannot be read as allowing capture, the copy is kept out too.
#pragma once

#include <optional>
#include <string>

namespace clipboard {

const char kExcludeFormat[] = "ExcludeClipboardContentFromMonitorProcessing";
const char kViewerIgnoreFormat[] = "Clipboard Viewer Ignore";
const char kHistoryFormat[] = "CanIncludeInClipboardHistory";
const char kCloudFormat[] = "CanUploadToCloudClipboard";

struct SecretMarkers {
    bool exclude = false;       // the exclusion format is on offer
    bool viewerIgnore = false;  // "Clipboard Viewer Ignore" is on offer
    bool historyFlag = false;   // "CanIncludeInClipboardHistory" is on offer ...
    std::optional<std::string> historyValue;  // ... with these bytes, when they could be read
    bool cloudFlag = false;  // "CanUploadToCloudClipboard" is on offer ...
    std::optional<std::string> cloudValue;
};

// True when the copy must stay out of the history: an exclusion marker, or a history flag whose value
// is not the 4-byte value 1.
bool MarkedSecret(const SecretMarkers& markers);
// True when the copy may be kept but must not leave this machine: a cloud flag whose value is not 1.
bool MarkedThisMachineOnly(const SecretMarkers& markers);

}  // namespace clipboard
