#include "widgets/drivelistbox.h"

#include "platform/error.h"
#include "platform/services/services.h"
#include "platform/system.h"

#include <QSignalBlocker>

namespace kelvane::widgets {

using namespace kelvane::services;

namespace {
constexpr int DeviceUnavailable = 68; // "Périphérique non disponible", a number teachers may quote
} // namespace

DriveListBox::DriveListBox(services::FileService& files, QWidget* parent) : QComboBox(parent), files_(files) {
    setEditable(false);
    refresh();
    {
        const QSignalBlocker quiet(this); // creation is no change
        setCurrentIndex(indexOfDrive(files_.driveOf(files_.currentFolder())));
    }
    connect(this, &QComboBox::currentIndexChanged, this, &DriveListBox::Change);
}

QString DriveListBox::drive() const {
    return currentText();
}

int DriveListBox::indexOfDrive(const QString& drive) const {
    // Windows letters in either case
    return findText(drive, platform::fileNameCase() == Qt::CaseInsensitive ? Qt::MatchFixedString
                                                                           : Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void DriveListBox::setDrive(const QString& drive) {
    int index = indexOfDrive(drive);
    if (index < 0 && !drive.isEmpty()) {
        index = indexOfDrive(files_.driveOf(drive));
    }
    if (index < 0) {
        throw Error(DeviceUnavailable, QStringLiteral("Périphérique non disponible: %1").arg(drive));
    }
    setCurrentIndex(index); // raises Change when it is another drive
}

void DriveListBox::refresh() {
    const QString selected = drive();
    {
        const QSignalBlocker quiet(this); // emptying and filling the list is no change in itself
        clear();
        addItems(files_.drives());
        const int index = indexOfDrive(selected);
        setCurrentIndex(index >= 0 ? index : (count() > 0 ? 0 : -1));
    }
    if (!selected.isEmpty() && drive() != selected) {
        emit Change(); // the selected drive went away: the list now shows another one
    }
}

} // namespace kelvane::widgets
