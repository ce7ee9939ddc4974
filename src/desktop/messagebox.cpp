#include "desktop/messagebox.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace kelvane::desktop {

namespace {

QString windowTitle(const QString& title) {
    // A box given no title shows the program's name.
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

services::Answer QtMessages::MsgBox(const QString& prompt, services::Buttons buttons, const QString& title) {
    QMessageBox box(owner());
    box.setWindowTitle(windowTitle(title));
    // Plain text: questions quote the teachers' own texts, where a "<" must not start a tag.
    box.setTextFormat(Qt::PlainText);
    box.setText(promptText(prompt));
    if (buttons == services::Buttons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
        box.setDefaultButton(yes); // the first button
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? services::Answer::Yes : services::Answer::No;
    }
    if (buttons == services::Buttons::YesNoCancel) {
        QPushButton* yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
        QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == yes  ? services::Answer::Yes
               : box.clickedButton() == no ? services::Answer::No
                                           : services::Answer::Cancel;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return services::Answer::Ok;
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

} // namespace kelvane::desktop
