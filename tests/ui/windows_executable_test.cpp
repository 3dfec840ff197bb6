// The Windows program as Explorer sees it: a GUI program (no console window opens with it), the
// icon in its resources at every size the shell asks for, and its version.
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <gtest/gtest.h>
#include <windows.h>

#include <QDir>
#include <QFile>
#include <cstring>
#include <string>

namespace {

const std::wstring kProgram =
    QDir::toNativeSeparators(QStringLiteral(QUINTREL_APP_DIR "/Quintrel.exe")).toStdWString();

TEST(WindowsExecutable, IsAGuiProgram) {
    QFile file(QString::fromStdWString(kProgram));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.read(4096);
    IMAGE_DOS_HEADER dos{};
    ASSERT_GE(bytes.size(), qsizetype(sizeof dos));
    std::memcpy(&dos, bytes.constData(), sizeof dos);
    IMAGE_NT_HEADERS64 nt{};
    ASSERT_LE(qsizetype(dos.e_lfanew + sizeof nt), bytes.size());
    std::memcpy(&nt, bytes.constData() + dos.e_lfanew, sizeof nt);
    EXPECT_EQ(nt.FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST(WindowsExecutable, CarriesItsIconAtEverySize) {
    const HMODULE program = LoadLibraryExW(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    for (const int size : {16, 32, 48, 256}) {
        const auto icon = static_cast<HICON>(
            LoadImageW(program, L"IDI_ICON1", IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(program);
}

TEST(WindowsExecutable, CarriesItsVersion) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(kProgram.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(kProgram.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, (1u << 16) | 0u);
    EXPECT_EQ(fixed->dwFileVersionLS, 2u << 16);
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_EQ(std::wstring(text), L"1.0.2");
}

}  // namespace
