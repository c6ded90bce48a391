// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QWidget;

namespace kdr {

// The window's extras, where long-lived tools keep theirs: the window's context menu
// (a right click on the panel picture or the background, the Menu key, Shift+F10)
// and, on Windows, the window's system menu (Alt+Space); each item also has a
// keyboard shortcut. The window's face stays as it is.
class ServiceMenu : public QObject {
    Q_OBJECT
public:
    struct Commands {
        std::function<void()> saveSheet, saveTrace, findPanel, about;
    };
    // The items' texts, as the menus show them and a screen reader says them.
    static const QString kSaveSheet, kSaveTrace, kFindPanel, kAbout;

    ServiceMenu(QWidget &window, Commands commands);

    // While a panel operation or a search runs, no item that would talk to the port
    // or open a dialog can be chosen (none can).
    void setAvailable(bool available);
    // A window with a fixed port (the simulated panel's) has no port to search.
    void setSearchable(bool searchable);

    QList<QAction *> actions() const { return m_actions; }

    // Windows: adds the items to the window's system menu, once its window exists.
    void addToSystemMenu();
    // Windows: a message of the window (its nativeEvent); true when it was one of the
    // items, which then runs.
    bool handleSystemCommand(void *message);

private:
    void updateSystemMenu();

    QWidget &m_window;
    QList<QAction *> m_actions;
    QAction *m_find = nullptr;
    bool m_available = true;
    bool m_searchable = true;
    bool m_inSystemMenu = false;
};

} // namespace kdr
