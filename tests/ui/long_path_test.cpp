// The form in which the program opens a file it reads itself (menu files, pictures): Windows
// refuses paths of 260 characters or more unless they come as "\\?\..." or "\\?\UNC\...", which
// Wine does not, so the form is checked here rather than by opening such a file.
#include "platform/files/long_path.h"

#include <gtest/gtest.h>

#include <string>

namespace quintrel::testing {
namespace {

// 13 folders of 20 characters: with a drive or share in front, a path of over 260.
std::wstring deepFolders(wchar_t separator) {
    std::wstring folders;
    for (int i = 0; i < 13; ++i) {
        folders += std::wstring(19, static_cast<wchar_t>(L'a' + i)) + separator;
    }
    return folders;
}

TEST(LongPath, AbsolutePathsOf260CharactersOrMoreTakeTheExtendedForm) {
    const std::wstring deep = deepFolders(L'\\');
    const std::wstring deepSlashes = deepFolders(L'/');
    const struct {
        std::wstring path;
        std::wstring opened;
    } cases[] = {
        {L"C:\\" + deep + L"menu.txt", L"\\\\?\\C:\\" + deep + L"menu.txt"},
        // Resolved as Windows would before it is passed on untouched: '/', "." and "..".
        {L"C:/" + deepSlashes + L"./x/../menu.txt", L"\\\\?\\C:\\" + deep + L"menu.txt"},
        {L"\\\\server\\share\\" + deep + L"menu.txt",
         L"\\\\?\\UNC\\server\\share\\" + deep + L"menu.txt"},
        // Already extended, or a device: as it is.
        {L"\\\\?\\C:\\" + deep + L"menu.txt", L"\\\\?\\C:\\" + deep + L"menu.txt"},
        {L"\\\\.\\C:\\" + deep + L"menu.txt", L"\\\\.\\C:\\" + deep + L"menu.txt"},
        // Relative to the current folder, to the current drive's root, or to a drive's current
        // folder: not absolute, left to Windows.
        {deep + L"menu.txt", deep + L"menu.txt"},
        {L"\\" + deep + L"menu.txt", L"\\" + deep + L"menu.txt"},
        {L"C:" + deep + L"menu.txt", L"C:" + deep + L"menu.txt"},
        // Short paths open as they always did, device names included.
        {L"C:\\Users\\q\\menu.txt", L"C:\\Users\\q\\menu.txt"},
        {L"C:/Users/q/../menu.txt", L"C:/Users/q/../menu.txt"},
        {L"\\\\server\\share\\menu.txt", L"\\\\server\\share\\menu.txt"},
        {L"C:\\Users\\q\\NUL", L"C:\\Users\\q\\NUL"},
        {L"", L""},
    };
    for (const auto& [path, opened] : cases) {
        EXPECT_EQ(extendedLengthPath(path), opened);
    }
    // The edge: 259 characters still open as they are, 260 no longer do.
    const std::wstring edge = L"C:\\" + std::wstring(256 - 4, L'x') + L".txt";
    ASSERT_EQ(edge.size(), 259u);
    EXPECT_EQ(extendedLengthPath(edge), edge);
    EXPECT_EQ(extendedLengthPath(edge + L"x"), L"\\\\?\\" + edge + L"x");
}

}  // namespace
}  // namespace quintrel::testing
