#include "desktop/messagebox.h"
#include "platform/error.h"
#include "support/doubles/scriptedservices.h"
#include "widgets/colours.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

using namespace kelvane;
using namespace kelvane::doubles;
using namespace kelvane::services;
using namespace kelvane::widgets;
using namespace Qt::StringLiterals;

namespace {

// Drives given by the test, to play with a drive list on a machine that has a single volume.
class FakeFiles final : public FileService {
public:
    QStringList driveList{QStringLiteral("/"), QStringLiteral("/media/cle")};
    QString current = QStringLiteral("/home/prof");

    QString currentFolder() const override { return current; }
    void setCurrentFolder(const QString& folder) override { current = folder; }
    QStringList drives() const override { return driveList; }
    QString setCurrentDrive(const QString& drive) override { return current = drive; }
    QString driveOf(const QString& folder) const override {
        return folder.startsWith(QLatin1String("/media/cle")) ? QStringLiteral("/media/cle") : QStringLiteral("/");
    }
    void makeFolder(const QString&) override {}
    QStringList listDatabases() const override { return {}; }
    bool fileExists(const QString&) const override { return false; }
};

// Runs 'act' on the modal box once it is open; exec() returns when 'act' closes it.
void whenModalOpens(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, qApp, [act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(modal);
        } else {
            whenModalOpens(act);
        }
    });
}

QStringList texts(const QListWidget& list) {
    QStringList result;
    for (int i = 0; i < list.count(); ++i) {
        result.append(list.item(i)->text());
    }
    return result;
}

QString canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

// A folder as the lists show it, with the system's separator.
QString natif(const QString& chemin) {
    return QDir::toNativeSeparators(chemin);
}

} // namespace

class TestUiWidgets : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void dirListShowsAncestorsThenSubFolders();
    void dirListSetPathRaisesChangeOnlyOnChange_data();
    void dirListSetPathRaisesChangeOnlyOnChange();
    void dirListMissingFolderIsRefused();
    void dirListOpensTheLine_data();
    void dirListOpensTheLine();
    void dirListAtRoot();
    void dirListUnreadableFolder();
    void dirListRemovedFolder();
    void dirListLongNames();

    void driveListShowsRootFirst();
    void driveListChange_data();
    void driveListChange();
    void driveListUnknownDrive();
    void driveListRefreshAfterRemoval();

    void messageBoxes_data();
    void messageBoxes();
    void inputBoxes_data();
    void inputBoxes();

    void twipsAt96Dpi_data();
    void twipsAt96Dpi();
    void paintButtonColours_data();
    void paintButtonColours();

private:
    QString startFolder_;
    std::unique_ptr<ScriptedServices> services_;
    std::unique_ptr<QTemporaryDir> tmp_;
    QString root_; // canonical path of tmp_
};

void TestUiWidgets::initTestCase() {
    startFolder_ = QDir::currentPath();
}

void TestUiWidgets::init() {
    services_ = std::make_unique<ScriptedServices>();
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    root_ = canonical(tmp_->path());
    QDir dir(root_);
    for (const char* name : {"Beta", "alpha", "gamma", ".cache", "gamma/delta"}) {
        QVERIFY(dir.mkpath(QLatin1String(name)));
    }
    QFile file(dir.filePath(QStringLiteral("test.mdb")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QDir::setCurrent(root_));
}

void TestUiWidgets::cleanup() {
    QDir::setCurrent(startFolder_);
    tmp_.reset();
    services_.reset();
}

void TestUiWidgets::dirListShowsAncestorsThenSubFolders() {
    DirListBox list(services_->files);
    QCOMPARE(list.path(), natif(root_));

    QStringList chain;
    for (QString p = root_;; p = QFileInfo(p).path()) {
        const bool racine = QFileInfo(p).path() == p; // "/", or "C:/" on Windows
        chain.prepend(racine ? natif(p) : QFileInfo(p).fileName());
        if (racine) {
            break;
        }
    }
    // Sub-folders sorted without regard to case, hidden ones and files left out.
    QCOMPARE(texts(list), chain + QStringList({"alpha", "Beta", "gamma"}));

    const int current = static_cast<int>(chain.size()) - 1;
    QCOMPARE(list.currentRow(), current); // the current folder is the highlighted line
    QCOMPARE(list.selectedFolder(), natif(root_));
    for (int i = 0; i < list.count(); ++i) {
        QCOMPARE(list.item(i)->data(DirListBox::LevelRole).toInt(), std::min(i, current + 1));
    }
    QCOMPARE(list.item(current + 2)->data(DirListBox::PathRole).toString(), root_ + QStringLiteral("/Beta"));
}

void TestUiWidgets::dirListSetPathRaisesChangeOnlyOnChange_data() {
    QTest::addColumn<QString>("target"); // relative to the temporary folder
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("changes");
    QTest::newRow("sub-folder") << u"gamma"_s << u"gamma"_s << 1;
    QTest::newRow("deeper") << u"gamma/delta"_s << u"gamma/delta"_s << 1;
    QTest::newRow("same folder") << u"."_s << u""_s << 0;
    QTest::newRow("trailing slash") << u"gamma/"_s << u"gamma"_s << 1;
    QTest::newRow("parent") << u".."_s << u".."_s << 1;
    QTest::newRow("same, roundabout") << u"alpha/.."_s << u""_s << 0;
}

void TestUiWidgets::dirListSetPathRaisesChangeOnlyOnChange() {
    QFETCH(QString, target);
    QFETCH(QString, path);
    QFETCH(int, changes);
    DirListBox list(services_->files);
    QSignalSpy spy(&list, &DirListBox::Change);
    list.setPath(root_ + QLatin1Char('/') + target);
    QCOMPARE(spy.count(), changes);
    QCOMPARE(list.path(), natif(QDir::cleanPath(root_ + QLatin1Char('/') + path)));
    list.setPath(list.path()); // again: nothing changes
    QCOMPARE(spy.count(), changes);
}

void TestUiWidgets::dirListMissingFolderIsRefused() {
    DirListBox list(services_->files);
    const QStringList before = texts(list);
    QSignalSpy spy(&list, &DirListBox::Change);
    for (const QString& target : {root_ + QStringLiteral("/absent"), root_ + QStringLiteral("/test.mdb"), QString()}) {
        try {
            list.setPath(target);
            QFAIL(qPrintable(QStringLiteral("accepted: ") + target));
        } catch (const Error& e) {
            QCOMPARE(e.number(), errc::PathNotFound);
        }
    }
    QCOMPARE(list.path(), natif(root_));
    QCOMPARE(texts(list), before);
    QCOMPARE(spy.count(), 0);
}

void TestUiWidgets::dirListOpensTheLine_data() {
    QTest::addColumn<bool>("keyboard"); // arrows then Return, or a click then a double click
    QTest::addColumn<int>("offset");    // of the line, from the current folder's line
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("changes");
    QTest::newRow("double click, sub-folder") << false << 3 << "/gamma" << 1;
    QTest::newRow("double click, parent") << false << -1 << ".." << 1;
    QTest::newRow("double click, current folder") << false << 0 << "" << 0;
    QTest::newRow("enter, sub-folder") << true << 1 << "/alpha" << 1;
    QTest::newRow("enter, parent") << true << -1 << ".." << 1;
}

void TestUiWidgets::dirListOpensTheLine() {
    QFETCH(bool, keyboard);
    QFETCH(int, offset);
    QFETCH(QString, path);
    QFETCH(int, changes);
    DirListBox list(services_->files);
    list.resize(300, 400);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QListWidgetItem* line = list.item(list.currentRow() + offset);
    list.scrollToItem(line);
    const QPoint at = list.visualItemRect(line).center();
    QSignalSpy spy(&list, &DirListBox::Change);
    if (keyboard) {
        for (int i = 0; i < qAbs(offset); ++i) {
            QTest::keyClick(&list, offset > 0 ? Qt::Key_Down : Qt::Key_Up);
        }
    } else {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    }
    QCOMPARE(spy.count(), 0); // moving the highlight is no change of path
    QCOMPARE(list.selectedFolder(), natif(line->data(DirListBox::PathRole).toString()));
    if (keyboard) {
        QTest::keyClick(&list, Qt::Key_Return);
    } else {
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    }
    QCOMPARE(spy.count(), changes);
    QCOMPARE(list.path(), natif(QDir::cleanPath(root_ + QLatin1Char('/') + path)));
    QCOMPARE(list.selectedFolder(), list.path());
}

void TestUiWidgets::dirListAtRoot() {
    // "/" on Linux, the current drive's root on Windows ("C:/"), shown with the system's separator.
    const QString racine = QDir::rootPath();
    DirListBox list(services_->files);
    list.setPath(racine);
    QCOMPARE(list.path(), natif(racine));
    QCOMPARE(list.item(0)->text(), natif(racine));
    QCOMPARE(list.currentRow(), 0);
    const QStringList subs = QDir(racine).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(list.count(), 1 + subs.size());
    for (int i = 1; i < list.count(); ++i) {
        const QString p = list.item(i)->data(DirListBox::PathRole).toString();
        QCOMPARE(p, racine + list.item(i)->text()); // no doubled separator
        QCOMPARE(list.item(i)->data(DirListBox::LevelRole).toInt(), 1);
    }
    list.setPath(racine + QStringLiteral(".")); // still the root
    QCOMPARE(list.path(), natif(racine));
}

void TestUiWidgets::dirListUnreadableFolder() {
    const QString locked = root_ + QStringLiteral("/gamma");
    if (!QFile::setPermissions(locked, QFileDevice::Permissions{})) {
        QSKIP("this system keeps no read right on a folder that could be taken away (Windows)");
    }
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });
    if (!QDir(locked).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty()) {
        QSKIP("running with the rights to read any folder");
    }
    DirListBox list(services_->files);
    list.setPath(locked);
    QCOMPARE(list.path(), natif(locked));
    QCOMPARE(list.item(list.count() - 1)->text(), QStringLiteral("gamma")); // the way back up, nothing else
    QCOMPARE(list.currentRow(), list.count() - 1);
}

void TestUiWidgets::dirListRemovedFolder() {
    // The folder goes away under the list (another program, a key pulled out): refresh shows only the way up.
    DirListBox list(services_->files);
    list.setPath(root_ + QStringLiteral("/gamma/delta"));
    QVERIFY(QDir(root_ + QStringLiteral("/gamma")).removeRecursively());
    list.refresh();
    QCOMPARE(list.item(list.count() - 1)->text(), QStringLiteral("delta"));
    QCOMPARE(list.currentRow(), list.count() - 1);

    // Opening a line whose folder vanished keeps the path and reads the list again.
    QSignalSpy spy(&list, &DirListBox::Change);
    list.setCurrentRow(list.count() - 2);
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(list.path(), natif(root_ + QStringLiteral("/gamma/delta")));
}

void TestUiWidgets::dirListLongNames() {
    const QString name = QStringLiteral("Électricité ") + QString(200, QLatin1Char('x'));
    QVERIFY(QDir(root_).mkdir(name));
    DirListBox list(services_->files);
    list.resize(120, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QCOMPARE(list.findItems(name, Qt::MatchExactly).size(), 1);
    list.setPath(name); // relative to the current folder
    QCOMPARE(list.path(), natif(root_ + QLatin1Char('/') + name));
    QCOMPARE(list.currentItem()->text(), name);
    QCOMPARE(list.currentItem()->toolTip(), list.path());
}

void TestUiWidgets::driveListShowsRootFirst() {
    DriveListBox box(services_->files); // the real drives of the machine
    QVERIFY(box.count() > 0);
    QCOMPARE(box.itemText(0), services_->files.drives().first()); // "/", or a Windows letter
    QCOMPARE(box.drive(), services_->files.driveOf(root_));       // the current folder's drive is selected
}

void TestUiWidgets::driveListChange_data() {
    QTest::addColumn<QString>("target"); // empty: the user presses the down arrow
    QTest::addColumn<QString>("drive");
    QTest::addColumn<int>("changes");
    QTest::newRow("down arrow") << u""_s << u"/media/cle"_s << 1;
    QTest::newRow("other drive") << u"/media/cle"_s << u"/media/cle"_s << 1;
    QTest::newRow("same drive") << u"/"_s << u"/"_s << 0;
    QTest::newRow("folder of the other drive") << u"/media/cle/cours"_s << u"/media/cle"_s << 1;
}

void TestUiWidgets::driveListChange() {
    QFETCH(QString, target);
    QFETCH(QString, drive);
    QFETCH(int, changes);
    FakeFiles fake;
    DriveListBox box(fake);
    QCOMPARE(box.drive(), QStringLiteral("/"));
    QSignalSpy spy(&box, &DriveListBox::Change);
    if (target.isEmpty()) {
        QTest::keyClick(&box, Qt::Key_Down);
    } else {
        box.setDrive(target);
    }
    QCOMPARE(box.drive(), drive);
    QCOMPARE(spy.count(), changes);
}

void TestUiWidgets::driveListUnknownDrive() {
    FakeFiles fake;
    fake.driveList = {QStringLiteral("/media/cle")}; // "/" not offered: nothing to fall back on
    DriveListBox box(fake);
    QSignalSpy spy(&box, &DriveListBox::Change);
    for (const QString& target : {QStringLiteral("/home"), QString()}) {
        try {
            box.setDrive(target);
            QFAIL("an unavailable drive was accepted");
        } catch (const Error& e) {
            QCOMPARE(e.number(), 68);
        }
    }
    QCOMPARE(spy.count(), 0);
}

void TestUiWidgets::driveListRefreshAfterRemoval() {
    FakeFiles fake;
    DriveListBox box(fake);
    box.setDrive(QStringLiteral("/media/cle"));
    QSignalSpy spy(&box, &DriveListBox::Change);
    fake.driveList.append(QStringLiteral("/media/autre"));
    box.refresh();
    QCOMPARE(box.count(), 3);
    QCOMPARE(box.drive(), QStringLiteral("/media/cle")); // still there: kept, no change
    QCOMPARE(spy.count(), 0);
    fake.driveList = {QStringLiteral("/")}; // the key was pulled out
    box.refresh();
    QCOMPARE(box.drive(), QStringLiteral("/"));
    QCOMPARE(spy.count(), 1);
}

void TestUiWidgets::messageBoxes_data() {
    QTest::addColumn<services::Buttons>("buttons");
    QTest::addColumn<QString>("press"); // a button's text, or "Escape" / "Return"
    QTest::addColumn<services::Answer>("result");
    QTest::newRow("oui") << services::Buttons::YesNo << "Oui" << services::Answer::Yes;
    QTest::newRow("non") << services::Buttons::YesNo << "Non" << services::Answer::No;
    QTest::newRow("escape is non") << services::Buttons::YesNo << "Escape" << services::Answer::No;
    QTest::newRow("return is oui") << services::Buttons::YesNo << "Return" << services::Answer::Yes;
    QTest::newRow("three ways, non") << services::Buttons::YesNoCancel << "Non" << services::Answer::No;
    QTest::newRow("three ways, escape cancels")
        << services::Buttons::YesNoCancel << "Escape" << services::Answer::Cancel;
    QTest::newRow("ok") << services::Buttons::OkOnly << "OK" << services::Answer::Ok;
    QTest::newRow("escape on ok") << services::Buttons::OkOnly << "Escape" << services::Answer::Ok;
}

void TestUiWidgets::messageBoxes() {
    QFETCH(services::Buttons, buttons);
    QFETCH(QString, press);
    QFETCH(services::Answer, result);

    QString title;
    QString text;
    QStringList shown;
    whenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box != nullptr);
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton* b : box->buttons()) {
            shown.append(b->text());
        }
        if (press == QLatin1String("Escape")) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else if (press == QLatin1String("Return")) {
            QTest::keyClick(box, Qt::Key_Return);
        } else {
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == press) {
                    b->click();
                }
            }
        }
    });
    desktop::QtMessages messages;
    QCOMPARE(messages.MsgBox(QStringLiteral("Première ligne\rSeconde <b>ligne</b>\r\nFin"), buttons,
                             QStringLiteral("Habilitation")),
             result);
    QCOMPARE(title, QStringLiteral("Habilitation"));
    QCOMPARE(text, QStringLiteral("Première ligne\nSeconde <b>ligne</b>\nFin"));
    shown.sort();
    const QStringList expected = buttons == services::Buttons::OkOnly  ? QStringList({"OK"})
                                 : buttons == services::Buttons::YesNo ? QStringList({"Non", "Oui"})
                                                                       : QStringList({"Annuler", "Non", "Oui"});
    QCOMPARE(shown, expected);
}

void TestUiWidgets::inputBoxes_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("result");
    QTest::newRow("typed") << true << "Dupont";
    QTest::newRow("cancelled") << false << "";
}

void TestUiWidgets::inputBoxes() {
    QFETCH(bool, accept);
    QFETCH(QString, result);
    QString title;
    QString label;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        QVERIFY(dialog != nullptr);
        title = dialog->windowTitle();
        label = dialog->labelText();
        QLineEdit* edit = dialog->findChild<QLineEdit*>();
        QVERIFY(edit != nullptr);
        QTest::keyClicks(edit, QStringLiteral("Dupont"));
        const auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QVERIFY(buttons != nullptr);
        QStringList names;
        for (QAbstractButton* b : buttons->buttons()) {
            names.append(b->text());
        }
        QVERIFY2(names.contains(QStringLiteral("Annuler")), qPrintable(names.join(QLatin1Char(','))));
        if (accept) {
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
    desktop::QtMessages messages;
    QCOMPARE(messages.InputBox(QStringLiteral("Votre nom\rpuis OK"), QStringLiteral("Identification")), result);
    QCOMPARE(title, QStringLiteral("Identification"));
    QCOMPARE(label, QStringLiteral("Votre nom\npuis OK"));
}

void TestUiWidgets::twipsAt96Dpi_data() {
    QTest::addColumn<int>("tw");
    QTest::addColumn<int>("px");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("inch") << 1440 << 96;
    QTest::newRow("rounds down") << 7 << 0;
    QTest::newRow("rounds up") << 8 << 1;
    QTest::newRow("form width") << 8220 << 548;
    QTest::newRow("negative") << -1440 << -96;
}

void TestUiWidgets::twipsAt96Dpi() {
    QFETCH(int, tw);
    QFETCH(int, px);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || !qFuzzyCompare(screen->logicalDotsPerInchX(), 96.0)) {
        QSKIP("the screen is not at 96 DPI");
    }
    QWidget w;
    QCOMPARE(twips(tw), px);
    QCOMPARE(twips(tw, &w), px);
    QCOMPARE(twipsSize(tw, 1440, &w), QSize(px, 96));
    QCOMPARE(twipsRect(1440, tw, tw, 15), QRect(96, px, px, 1));
}

void TestUiWidgets::paintButtonColours_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QColor>("face");
    QTest::newRow("enabled: pink") << true << QColor(255, 192, 192);
    QTest::newRow("disabled: grey") << false << QColor(192, 192, 192);
}

void TestUiWidgets::paintButtonColours() {
    QFETCH(bool, enabled);
    QFETCH(QColor, face);
    QWidget form;
    auto* button = new QPushButton(QStringLiteral("Suivant"), &form);
    button->setGeometry(0, 0, 160, 60);
    paintButton(button, !enabled);
    paintButton(button, enabled); // the last call wins
    QCOMPARE(button->isEnabled(), enabled);
    QCOMPARE(button->palette().color(QPalette::Button), face);

    // What the pupil sees: the face has the colour, and the text stands out from it.
    const QImage image = button->grab().toImage();
    const QColor corner = image.pixelColor(image.width() / 8, image.height() / 2);
    QVERIFY2(qAbs(corner.red() - face.red()) < 12 && qAbs(corner.green() - face.green()) < 12 &&
                 qAbs(corner.blue() - face.blue()) < 12,
             qPrintable(corner.name()));
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = image.width() / 4; x < image.width() * 3 / 4; ++x) {
            if (qGray(image.pixel(x, y)) < qGray(face.rgb()) - 80) {
                ++dark;
            }
        }
    }
    if (!enabled && QApplication::style()->name() == QLatin1String("windowsvista")) {
        QSKIP("Windows's own style draws a disabled caption in the system's grey, whatever the palette");
    }
    QVERIFY2(dark > 20, "the caption does not stand out from the button's face");

    QWidget panel;
    setBackColour(&panel, QColor(0, 128, 0));
    panel.resize(20, 20);
    QCOMPARE(panel.grab().toImage().pixelColor(10, 10), QColor(0, 128, 0));
}

QTEST_MAIN(TestUiWidgets)
#include "tst_uiwidgets.moc"
