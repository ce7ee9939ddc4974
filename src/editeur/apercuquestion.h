#pragma once

#include <QGraphicsView>

class QGraphicsProxyWidget;

namespace kelvane::frames {
class CadreQuestion;
}
namespace kelvane::edition {
class TestEdite;
}

namespace kelvane::editeur {

// The question as the candidate will see it, drawn by the candidate's own question frame, scaled to the room it
// is given. It only shows: it takes neither the focus nor the mouse.
class ApercuQuestion : public QGraphicsView {
    Q_OBJECT
public:
    explicit ApercuQuestion(QWidget* parent = nullptr);

    // The three symbols of the class II question, from the folder Images of the test's folder.
    void chargerImages(const QString& dossierTest);
    // Question `indice` of the test (-1: none), with the header a candidate would see.
    void montrer(const edition::TestEdite& test, int indice);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ajuster();

    frames::CadreQuestion* cadre_;
    QGraphicsProxyWidget* proxy_;
};

} // namespace kelvane::editeur
