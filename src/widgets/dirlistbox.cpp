#include "widgets/dirlistbox.h"

#include "platform/error.h"
#include "platform/services/services.h"
#include "platform/system.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace kelvane::widgets {

using namespace kelvane::services;

namespace {

constexpr int indentStep = 12; // pixels per level

// Draws each line shifted right by its level, so that the names themselves carry no padding (a screen reader
// reads them as they are).
class IndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem shifted = option;
        shifted.rect.setLeft(shifted.rect.left() + indent(index));
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += indent(index);
        return size;
    }

private:
    static int indent(const QModelIndex& index) { return index.data(DirListBox::LevelRole).toInt() * indentStep; }
};

bool samePath(const QString& a, const QString& b) {
    return a.compare(b, platform::fileNameCase()) == 0;
}

// The folder and its ancestors, root first. QFileInfo::path() works on the text alone, so an unreadable
// folder still shows where it is.
QStringList chainOf(const QString& folder) {
    QStringList chain{folder};
    for (QString current = folder;;) {
        const QString parent = QFileInfo(current).path();
        if (parent == current || parent.isEmpty() || parent == QLatin1String(".")) {
            break;
        }
        chain.prepend(parent);
        current = parent;
    }
    return chain;
}

QString lineText(const QString& folder, bool isRoot) {
    return isRoot ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
}

} // namespace

DirListBox::DirListBox(services::FileService& files, QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideRight); // very long names end in "..."; the tooltip gives them whole
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { open(item); });

    path_ = QDir::cleanPath(QDir::fromNativeSeparators(files.currentFolder()));
    refresh();
}

QString DirListBox::path() const {
    return QDir::toNativeSeparators(path_);
}

void DirListBox::setPath(const QString& folder) {
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(QDir::fromNativeSeparators(folder)));
    if (folder.isEmpty() || !QFileInfo(absolute).isDir()) {
        throw Error(errc::PathNotFound, QStringLiteral("Chemin d'accès introuvable: %1").arg(folder));
    }
    if (samePath(absolute, path_)) {
        return;
    }
    path_ = absolute;
    refresh();
    emit Change();
}

QString DirListBox::selectedFolder() const {
    const QListWidgetItem* item = currentItem();
    return item != nullptr ? QDir::toNativeSeparators(item->data(PathRole).toString()) : QString();
}

void DirListBox::refresh() {
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon, nullptr, this);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon, nullptr, this);

    const QStringList chain = chainOf(path_);
    QListWidgetItem* current = nullptr;
    for (int level = 0; level < chain.size(); ++level) {
        auto* item = new QListWidgetItem(openIcon, lineText(chain.at(level), level == 0), this);
        item->setData(PathRole, chain.at(level));
        item->setData(LevelRole, level);
        item->setToolTip(QDir::toNativeSeparators(chain.at(level)));
        current = item;
    }

    // An unreadable folder lists nothing: the list then shows only the way back up.
    const QDir dir(path_);
    const QStringList children =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    const int childLevel = static_cast<int>(chain.size());
    for (const QString& name : children) {
        const QString child = dir.filePath(name);
        auto* item = new QListWidgetItem(closedIcon, name, this);
        item->setData(PathRole, child);
        item->setData(LevelRole, childLevel);
        item->setToolTip(QDir::toNativeSeparators(child));
    }

    if (current != nullptr) {
        setCurrentItem(current);
        scrollToItem(current);
    }
}

void DirListBox::open(const QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    const QString folder = item->data(PathRole).toString();
    try {
        setPath(folder);
    } catch (const Error&) {
        refresh(); // removed since the list was read: show what is there now
    }
}

void DirListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open(currentItem());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace kelvane::widgets
