// Starts the real Ardentia.exe as a user would: it captures a copy, refuses a second instance, closes, and
// shows its clips when started again.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "e2e/RealApp.h"
#include "support/clipboard_peer.h"

namespace {

using namespace realapp;
// A copy made on the X side becomes the first clip of the real program; a second start shows it and leaves.
TEST(AppStart, CapturesACopyRefusesASecondInstanceAndClosesCleanly) {
    Started app;
    const HWND window = StartWithManagerOn(app);
    ASSERT_TRUE(window);

    ASSERT_TRUE(testsupport::CopyUtf8WithXclip("copied while Ardentia runs"));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return InfoLine(window) == "Text Clip - Item 1 of 1"; }, testsupport::kPatientMs))
        << InfoLine(window);

    // Hidden in the tray, it is brought back by a second start, which then ends.
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !IsWindowVisible(window); }, testsupport::kPatientMs));
    Started second;
    Start(second);
    EXPECT_EQ(ExitCodeWithin(second, 10000), 0u);
    EXPECT_EQ(FindAppWindow(second.pi.dwProcessId), nullptr);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return IsWindowVisible(window) && !IsIconic(window); }, testsupport::kPatientMs));

    // "/popup" opens the running copy's history popup instead.
    Started third;
    Start(third, "/popup");
    EXPECT_EQ(ExitCodeWithin(third, 10000), 0u);
    EXPECT_TRUE(testsupport::PumpUntil(
        [] {
            HWND popup = FindWindowW(L"ArdentiaHistoryPopup", nullptr);
            return popup && IsWindowVisible(popup);
        }, testsupport::kPatientMs));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCodeWithin(app, 10000), 0u);

    // Started again, it shows the clip it kept (killed outright, it is killed_during_burst.sh's).
    Started again;
    Start(again);
    HWND restarted = nullptr;
    ASSERT_TRUE(testsupport::PumpUntil([&] { return (restarted = FindAppWindow(again.pi.dwProcessId)) != nullptr; }, testsupport::kPatientMs));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return InfoLine(restarted) == "Text Clip - Item 1 of 1"; }, testsupport::kPatientMs))
        << InfoLine(restarted);
    PostMessageA(restarted, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCodeWithin(again, 10000), 0u);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kestrovan\\Ardentia");
    std::filesystem::remove_all(HistoryFolder());
}

std::string VersionString(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return "";
    return std::string(value);
}

TEST(AppResources, VersionAndIconAreInTheProgram) {
    const std::string exe = ProgramPath();
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, DWORD(info.size()), info.data()));
    for (const auto& [name, value] : {std::pair<const char*, const char*>{"ProductName", "Ardentia"},
                                      {"CompanyName", "Kestrovan"}, {"FileVersion", ARDENTIA_VERSION},
                                      {"ProductVersion", ARDENTIA_VERSION}})
        EXPECT_EQ(VersionString(info, name), value) << name;

    // The icon group lists each size drawn for it (loading an icon would scale any one to the size asked).
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module);
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_TRUE(group);
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    std::set<int> sizes;
    for (int i = 0, count = directory[4]; i < count; ++i) sizes.insert(directory[6 + 14 * i]);
    EXPECT_TRUE(sizes.count(16) && sizes.count(32) && sizes.count(48)) << sizes.size() << " sizes";
    FreeLibrary(module);

    // The program is of this build's kind: x64 from the 64-bit build; from the 32-bit one, x86 and
    // large-address-aware (4 GB of address space on a 64-bit system).
    std::string image;
    ASSERT_TRUE(testsupport::ReadWholeFile(exe, image));
    ASSERT_GT(image.size(), 0x200u);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    ASSERT_LT(std::size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS), image.size());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
    ASSERT_EQ(nt->Signature, DWORD(IMAGE_NT_SIGNATURE));
    if (sizeof(void*) == 8) {
        EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    } else {
        EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
        EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
    }
}

}  // namespace
