// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServiceMenu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QShortcut>
#include <QWidget>
#include <QWindow>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace kdr {

namespace {

// Ids of the system menu's items: below 0xF000 and with the low four bits free, as
// Windows asks of them.
constexpr unsigned kFirstSystemId = 0x1010;

} // namespace

const QString ServiceMenu::kSaveSheet = QStringLiteral("SAVE CONFIGURATION SHEET\u2026");
const QString ServiceMenu::kSaveTrace = QStringLiteral("SAVE WIRE TRACE\u2026");
const QString ServiceMenu::kFindPanel = QStringLiteral("FIND THE SWITCH PANEL");
const QString ServiceMenu::kAbout = QStringLiteral("ABOUT THIS PROGRAM\u2026");

ServiceMenu::ServiceMenu(QWidget &window, Commands commands) : QObject(&window), m_window(window)
{
    const struct {
        const QString &text;
        QKeySequence keys;
        std::function<void()> run;
    } items[] = {
        {kSaveSheet, QKeySequence(Qt::CTRL | Qt::Key_P), std::move(commands.saveSheet)},
        {kSaveTrace, QKeySequence(Qt::CTRL | Qt::Key_T), std::move(commands.saveTrace)},
        {kFindPanel, QKeySequence(Qt::CTRL | Qt::Key_F), std::move(commands.findPanel)},
        {kAbout, QKeySequence(Qt::Key_F1), std::move(commands.about)},
    };
    for (const auto &item : items) {
        auto *action = new QAction(item.text, &window);
        action->setShortcut(item.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setObjectName(item.text);
        connect(action, &QAction::triggered, &window, item.run);
        m_actions << action;
    }
    m_find = m_actions[2];
    window.addActions(m_actions);
    // The controls that have no menu of their own (the picture, the captions, the
    // buttons, the lists) leave a right click to the window, which shows these.
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
#ifndef Q_OS_WIN
    // Windows makes Shift+F10 the Menu key itself; elsewhere Qt leaves it to the program.
    // Handed to the window as the Menu key's event, it opens the menu of whatever has
    // the focus, where the Menu key would.
    auto *menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), &window);
    connect(menuKey, &QShortcut::activated, &window, [&window] {
        QContextMenuEvent asMenuKey(QContextMenuEvent::Keyboard, {}, {});
        if (QWindow *handle = window.windowHandle())
            QCoreApplication::sendEvent(handle, &asMenuKey);
    });
#endif
}

void ServiceMenu::setAvailable(bool available)
{
    m_available = available;
    for (QAction *action : std::as_const(m_actions))
        action->setEnabled(available && (action != m_find || m_searchable));
    updateSystemMenu();
}

void ServiceMenu::setSearchable(bool searchable)
{
    m_searchable = searchable;
    setAvailable(m_available);
}

void ServiceMenu::addToSystemMenu()
{
#ifdef Q_OS_WIN
    if (m_inSystemMenu)
        return;
    const HMENU menu = ::GetSystemMenu(reinterpret_cast<HWND>(m_window.winId()), FALSE);
    if (!menu)
        return;
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (qsizetype i = 0; i < m_actions.size(); ++i) {
        // The shortcut after a tab, as Windows' own items show theirs.
        const QString text = m_actions[i]->text() + u'\t' + m_actions[i]->shortcut().toString(QKeySequence::NativeText);
        ::AppendMenuW(menu, MF_STRING, kFirstSystemId + 0x10 * unsigned(i), reinterpret_cast<LPCWSTR>(text.utf16()));
    }
    m_inSystemMenu = true;
    updateSystemMenu();
#endif
}

bool ServiceMenu::handleSystemCommand(void *message)
{
#ifdef Q_OS_WIN
    const MSG *msg = static_cast<const MSG *>(message);
    if (!m_inSystemMenu || msg->message != WM_SYSCOMMAND)
        return false;
    const unsigned id = unsigned(msg->wParam & 0xFFF0);
    for (qsizetype i = 0; i < m_actions.size(); ++i) {
        if (id == kFirstSystemId + 0x10 * unsigned(i)) {
            if (m_actions[i]->isEnabled())
                m_actions[i]->trigger();
            return true;
        }
    }
#else
    Q_UNUSED(message);
#endif
    return false;
}

void ServiceMenu::updateSystemMenu()
{
#ifdef Q_OS_WIN
    if (!m_inSystemMenu)
        return;
    const HMENU menu = ::GetSystemMenu(reinterpret_cast<HWND>(m_window.winId()), FALSE);
    for (qsizetype i = 0; i < m_actions.size(); ++i)
        ::EnableMenuItem(menu, kFirstSystemId + 0x10 * unsigned(i),
                         MF_BYCOMMAND | (m_actions[i]->isEnabled() ? MF_ENABLED : MF_GRAYED));
#endif
}

} // namespace kdr
