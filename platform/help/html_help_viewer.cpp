#include "platform/help/html_help_viewer.h"

#include <windows.h>
// After windows.h, which it needs.
#include <htmlhelp.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringDecoder>
#include <QWidget>
#include <string>

namespace quintrel::help {

namespace {

using HtmlHelpW = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The window the help belongs to, so that it stays above it: only a real Windows window will do
// (the offscreen platform of the tests has ids that are no window handles).
HWND ownerOf(QWidget* window) {
    if (!window || QGuiApplication::platformName() != QLatin1String("windows")) {
        return nullptr;
    }
    return reinterpret_cast<HWND>(window->window()->effectiveWinId());
}

// A Zone.Identifier stream is a few lines (the zone, the page and the address a file came from);
// anything beyond this is no mark Windows wrote.
constexpr DWORD kMaxZoneIdentifier = 16 * 1024;

// The file's Zone.Identifier stream, empty when it has none. Windows names a file's alternate
// data stream by the file's path, a colon and the stream's name.
QByteArray zoneIdentifierOf(const QString& file) {
    const std::wstring stream = QDir::toNativeSeparators(file).toStdWString() + L":Zone.Identifier";
    const HANDLE handle = CreateFileW(stream.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    QByteArray bytes(kMaxZoneIdentifier, '\0');
    DWORD got = 0;
    if (GetFileType(handle) != FILE_TYPE_DISK ||
        !ReadFile(handle, bytes.data(), kMaxZoneIdentifier, &got, nullptr)) {
        got = 0;
    }
    CloseHandle(handle);
    bytes.truncate(got);
    return bytes;
}

}  // namespace

std::optional<int> zoneOfIdentifier(const QByteArray& stream) {
    const auto encoding =
        QStringConverter::encodingForData(stream).value_or(QStringConverter::Utf8);
    const QString text = QStringDecoder(encoding).decode(stream);
    bool inZoneTransfer = false;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inZoneTransfer = line.mid(1, line.size() - 2)
                                 .trimmed()
                                 .compare(QLatin1String("ZoneTransfer"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inZoneTransfer || equals < 0 ||
            line.left(equals).trimmed().compare(QLatin1String("ZoneId"), Qt::CaseInsensitive) !=
                0) {
            continue;
        }
        bool isNumber = false;
        const int zone = line.mid(equals + 1).trimmed().toInt(&isNumber);
        if (isNumber) {
            return zone;
        }
    }
    return std::nullopt;
}

bool zoneBlocksHelp(int zone) {
    return zone == 3 || zone == 4;  // URLZONE_INTERNET, URLZONE_UNTRUSTED
}

QString helpFileName() {
    return QStringLiteral("Quintrel.chm");
}

QString helpFileSetting() {
    return helpFileName();
}

HtmlHelpViewer::HtmlHelpViewer(QString library, QByteArray entryPoint)
    : m_library(std::move(library)), m_entryPoint(std::move(entryPoint)) {}

HtmlHelpViewer::~HtmlHelpViewer() {
    // Without an application the program's windows, and with them the help's owners, are gone.
    if (QCoreApplication::instance()) {
        closeAll();
    }
}

void HtmlHelpViewer::closeAll() {
    if (m_helpWindow != 0) {
        reinterpret_cast<HtmlHelpW>(m_htmlHelp)(nullptr, nullptr, HH_CLOSE_ALL, 0);
        m_helpWindow = 0;
    }
}

std::optional<QString> HtmlHelpViewer::load() {
    if (m_htmlHelp) {
        return std::nullopt;
    }
    // Only from the system folder: a file of that name beside the program is never loaded. It
    // stays loaded while the program runs, as its windows may outlive any one request.
    const HMODULE module = LoadLibraryExW(reinterpret_cast<LPCWSTR>(m_library.utf16()), nullptr,
                                          LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
        return QStringLiteral(
                   "The help viewer HTML Help is not installed (%1 could not be loaded).")
            .arg(m_library);
    }
    m_htmlHelp = reinterpret_cast<EntryPoint>(GetProcAddress(module, m_entryPoint.constData()));
    if (!m_htmlHelp) {
        return QStringLiteral("The help viewer HTML Help could not be started: %1 has no %2.")
            .arg(m_library, QString::fromLatin1(m_entryPoint));
    }
    return std::nullopt;
}

HelpResult HtmlHelpViewer::WinHelpA(QWidget* window, const QString& helpFile, unsigned command,
                                    const QString& keyword) {
    if (command != kHelpContents && command != kHelpPartialKey) {
        return {};
    }
    if (!QFileInfo(helpFile).isFile()) {
        reportMissingHelpFile(window, helpFile);
        return {};
    }
    // HTML Help would open its window and show "Navigation to the webpage was canceled" for every
    // topic. The mark is the user's to remove.
    if (const std::optional<int> zone = zoneOfIdentifier(zoneIdentifierOf(helpFile));
        zone && zoneBlocksHelp(*zone)) {
        return {.error = blockedHelpFileError(helpFile)};
    }
    if (std::optional<QString> error = load()) {
        return {.error = std::move(error)};
    }
    const std::wstring file = QDir::toNativeSeparators(helpFile).toStdWString();
    const std::wstring word = keyword.toStdWString();
    const auto htmlHelp = reinterpret_cast<HtmlHelpW>(m_htmlHelp);
    // The contents open at the file's default topic; the index takes the keyword to type in.
    const HWND shown = command == kHelpContents
                           ? htmlHelp(ownerOf(window), file.c_str(), HH_DISPLAY_TOC, 0)
                           : htmlHelp(ownerOf(window), file.c_str(), HH_DISPLAY_INDEX,
                                      reinterpret_cast<DWORD_PTR>(word.c_str()));
    if (!shown) {
        reportUnreadableHelpFile(window, helpFile);
        return {};
    }
    m_helpWindow = reinterpret_cast<WId>(shown);
    return {.shown = true, .error = std::nullopt};
}

HelpResult WinHelpA(QWidget* window, const QString& helpFile, unsigned command,
                    const QString& keyword) {
    static HtmlHelpViewer viewer;
    // The help windows are closed when the program is about to quit, while its main window (their
    // owner) and the application are still there, not from the static viewer's destructor.
    static const bool closesOnQuit = [] {
        if (QCoreApplication* application = QCoreApplication::instance()) {
            QObject::connect(application, &QCoreApplication::aboutToQuit,
                             [] { viewer.closeAll(); });
            return true;
        }
        return false;
    }();
    (void)closesOnQuit;
    return viewer.WinHelpA(window, helpFile, command, keyword);
}

}  // namespace quintrel::help
