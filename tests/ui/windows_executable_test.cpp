// The Windows program as Explorer sees it: a GUI program (no console window opens with it), the
// icon in its resources at every size the shell asks for, its version, and the manifest Windows
// reads when it starts it.
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <gtest/gtest.h>
#include <windows.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QXmlStreamReader>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

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

// One resource's bytes; empty when the program has none of that name and type.
QByteArray resource(HMODULE module, const wchar_t* name, const wchar_t* type) {
    const HRSRC found = FindResourceW(module, name, type);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded) {
        return {};
    }
    return QByteArray(static_cast<const char*>(LockResource(loaded)),
                      static_cast<qsizetype>(SizeofResource(module, found)));
}

// The width an icon image says it has: a PNG's header, or a bitmap's info header.
int imageWidth(const QByteArray& image) {
    if (image.startsWith("\x89PNG\r\n\x1a\n") && image.size() >= 24) {
        return qFromBigEndian<qint32>(image.constData() + 16);
    }
    if (image.size() >= qsizetype(sizeof(BITMAPINFOHEADER))) {
        return qFromLittleEndian<qint32>(image.constData() + 4);
    }
    return -1;
}

// The shell picks from the sizes in the group's directory (LoadImageW would stretch the nearest
// image to any size asked for), so the directory must list each size once, and each entry's image
// must be there at the size it claims.
TEST(WindowsExecutable, CarriesItsIconAtEverySize) {
    const HMODULE program = LoadLibraryExW(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const QByteArray group = resource(program, L"IDI_ICON1", RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6);
    const auto count = qFromLittleEndian<quint16>(group.constData() + 4);
    ASSERT_EQ(group.size(), 6 + count * 14);
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        // GRPICONDIRENTRY: width (0 for 256) at 0, the image's size at 8, its RT_ICON id at 12.
        const char* entry = group.constData() + 6 + i * 14;
        const int size = entry[0] == 0 ? 256 : static_cast<quint8>(entry[0]);
        sizes.push_back(size);
        const QByteArray image =
            resource(program, MAKEINTRESOURCEW(qFromLittleEndian<quint16>(entry + 12)), RT_ICON);
        EXPECT_EQ(image.size(), qsizetype(qFromLittleEndian<quint32>(entry + 8))) << size;
        EXPECT_EQ(imageWidth(image), size);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));
    FreeLibrary(program);
}

// The manifest as Windows reads it when it starts the program: the loader's own parse of it (an
// activation context), the Windows 10 and 11 entry, and the two settings.
TEST(WindowsExecutable, CarriesItsManifest) {
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = kProgram.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
    const HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << GetLastError();

    const auto setting = [&](const wchar_t* name) {
        wchar_t value[64] = {};
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, context,
                                  L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", name,
                                  value, 64, &written)) {
            return QStringLiteral("(none)");
        }
        return QString::fromWCharArray(value);
    };
    EXPECT_EQ(setting(L"dpiAwareness"), "PerMonitorV2");
    EXPECT_EQ(setting(L"longPathAware"), "true");

    const HMODULE program = LoadLibraryExW(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const QByteArray manifest = resource(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
    FreeLibrary(program);
    QStringList supported;
    for (QXmlStreamReader xml(manifest); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"supportedOS" &&
            xml.namespaceUri() == u"urn:schemas-microsoft-com:compatibility.v1") {
            supported << xml.attributes().value("Id").toString();
        }
    }
    EXPECT_EQ(supported, QStringList{"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"});
    ReleaseActCtx(context);
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
