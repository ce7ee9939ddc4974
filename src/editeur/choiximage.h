#pragma once

#include "data/images.h"

#include <QWidget>
#include <optional>

class QToolButton;

namespace kelvane::editeur {

// The picture of a question or of one answer in the question's form: a button showing it small (or « Image… »
// without one) that asks for a file, a button that removes it, and a file dropped on either of them. It only asks:
// the form reads the file and changes the test.
class ChoixImage : public QWidget {
    Q_OBJECT
public:
    // nom ends the children's object names ("Question": choixImageQuestion, retirerImageQuestion); quoi names the
    // place for the reader of the screen ("de la réponse 2").
    ChoixImage(const QString& nom, const QString& quoi, QWidget* parent = nullptr);

    void montrer(const std::optional<data::Image>& image);
    // Puts its buttons after precedent in the order of the keyboard; returns the last of them.
    QWidget* ordonnerApres(QWidget* precedent);

signals:
    void choisir();
    void deposer(const QString& chemin);
    void retirer();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QToolButton* choix_;
    QToolButton* retrait_;
    QString quoi_;
    QByteArray octets_; // those shown, not decoded again while they stay
};

} // namespace kelvane::editeur
