#include "platform/help/html_help_viewer.h"

#include <windows.h>
// After windows.h, which it needs.
#include <htmlhelp.h>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
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

}  // namespace

HtmlHelpViewer::HtmlHelpViewer(QString library, QByteArray entryPoint)
    : m_library(std::move(library)), m_entryPoint(std::move(entryPoint)) {}

HtmlHelpViewer::~HtmlHelpViewer() {
    if (m_helpWindow != 0) {
        reinterpret_cast<HtmlHelpW>(m_htmlHelp)(nullptr, nullptr, HH_CLOSE_ALL, 0);
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
    return viewer.WinHelpA(window, helpFile, command, keyword);
}

}  // namespace quintrel::help
