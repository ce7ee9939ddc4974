#pragma once

#include <QListWidget>

namespace kelvane::services {
class FileService;
}

namespace kelvane::widgets {

// A folder list: the chain of folders from the root down to the current path, each one
// indented under its parent and the current one highlighted, then the sub-folders of the current path.
// Double-clicking a line, or Enter on it, makes that folder the path. Change() is raised whenever the path
// changes, by the user or by setPath().
class DirListBox : public QListWidget {
    Q_OBJECT
public:
    // Item data: the full path of the folder a line stands for, and its depth under the root.
    static constexpr int PathRole = Qt::UserRole;
    static constexpr int LevelRole = Qt::UserRole + 1;

    explicit DirListBox(services::FileService& files, QWidget* parent = nullptr); // starts at its current folder

    QString path() const;
    // Makes a folder the path (relative names from the process's current folder). A folder that does not
    // exist raises kelvane::Error 76 and leaves the list as it was.
    void setPath(const QString& folder);
    // The folder of the highlighted line, which the arrows move without changing the path.
    QString selectedFolder() const;
    // Reads the sub-folders again, after a folder was made or removed.
    void refresh();

signals:
    void Change();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open(const QListWidgetItem* item);

    QString path_; // clean, with '/' separators
};

} // namespace kelvane::widgets
