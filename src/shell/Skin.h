// The optional skin. A file "x\o.cjs" in the program folder turns it on: the window and its labels,
// option buttons, check boxes and frames take the button-face system colour, which the skin paints in
// its own face colour. The file is text, one "Name=RRGGBB" per line ("Face" required, "Text"
// optional), with "#" starting a comment line.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace shell {

const std::uint32_t kSkinBackground = 0x8000000F;  // the system's button-face colour, as an OLE colour

enum class ControlKind { kWindow, kLabel, kOptionButton, kCheckBox, kFrame, kTextBox, kList, kButton, kPicture };

// Which controls give up their designed background for the skin's; text boxes and lists keep theirs.
bool TakesSkinBackground(ControlKind kind);

std::string SkinFilePath(const std::string& programFolder);

struct SkinColours {
    std::uint32_t face = 0;  // 0x00BBGGRR
    std::uint32_t text = 0;
    bool hasText = false;
};

class SkinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws SkinError naming the line for a malformed file; a skin without "Face" is malformed too.
SkinColours ParseSkin(const std::string& fileText);

// The skin as the main window uses it: load the file, switch it on, apply it to the window, then ask
// it for the colour to paint whenever an OLE colour is drawn.
class LoadedSkin {
public:
    void LoadSkin(const std::string& path, const std::string& ini);  // reads the file; throws SkinError
    std::int32_t Flags() const { return flags_; }
    void SetFlags(std::int32_t flags) { flags_ = flags; }
    void SetSkinFrames(bool on) { frames_ = on; }
    void SetSkinControls(bool on) { controls_ = on; }
    void ApplyWindow(std::uintptr_t window);

    bool Applied() const { return window_ != 0 && (flags_ & 1) != 0 && loaded_; }
    // The skin's face colour stands for the button-face system colour once applied; other colours pass.
    bool Resolve(std::uint32_t oleColour, std::uint32_t& rgb) const;
    bool TextColour(std::uint32_t& rgb) const;

private:
    SkinColours colours_;
    bool loaded_ = false;
    std::int32_t flags_ = 0;
    bool frames_ = false;
    bool controls_ = false;
    std::uintptr_t window_ = 0;
};

// A control of the main window as the skin step sees it: its kind and its background OLE colour.
struct SkinnedControl {
    ControlKind kind;
    std::uint32_t* backColour;
};

// The start-up skin step: without the skin file nothing changes and false is returned. With it, the
// qualifying backgrounds become the button-face colour, then the skin is loaded, switched on and
// applied to the window. A bad skin file throws SkinError after the recolouring, for the caller to report.
bool RunSkinStep(LoadedSkin& skin, const std::string& skinPath, bool skinFileExists, std::uintptr_t window,
                 const std::vector<SkinnedControl>& controls);

}  // namespace shell
