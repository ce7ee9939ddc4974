#include "platform/ui/messagebox.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace kelvane::ui {

namespace {

// Icon bits the old box accepted next to the button set.
constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;

QMessageBox::Icon iconOf(int buttons) {
    switch (buttons & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QString windowTitle(const QString& title) {
    // The old boxes showed the program's name when given no title.
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

} // namespace

QString promptText(const QString& prompt) {
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QWidget* QtMessages::owner() const {
    return parent_ ? parent_.data() : QApplication::activeWindow();
}

int QtMessages::MsgBox(const QString& prompt, int buttons, const QString& title) {
    QMessageBox box(owner());
    box.setWindowTitle(windowTitle(title));
    // Plain text: questions quote the teachers' own texts, where a "<" must not start a tag.
    box.setTextFormat(Qt::PlainText);
    box.setText(promptText(prompt));
    box.setIcon(iconOf(buttons));
    if ((buttons & 7) == vbYesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
        box.setDefaultButton(yes); // the first button, as in the old box
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? vbYes : vbNo;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return vbOK;
}

QString QtMessages::InputBox(const QString& prompt, const QString& title) {
    QInputDialog dialog(owner());
    dialog.setWindowTitle(windowTitle(title));
    dialog.setLabelText(promptText(prompt));
    if (auto* label = dialog.findChild<QLabel*>()) {
        label->setTextFormat(Qt::PlainText); // as in MsgBox: the prompt is never markup
    }
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annuler"));
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.textValue();
}

} // namespace kelvane::ui
