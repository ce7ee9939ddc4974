#pragma once

#include <QObject>
#include <QSet>

class QWidget;

namespace kelvane::widgets {

// The keys of one box: a key going down, before it changes the text, and a key coming up. A release counts only
// when its key went down in the same box, so that the Enter that closes a message box, released once the focus
// is back in the box, is not taken for a new Enter.
class Clavier : public QObject {
    Q_OBJECT
public:
    explicit Clavier(QWidget* boite);

signals:
    void enfoncee(int touche);
    void relachee(int touche);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSet<int> enfoncees_;
};

} // namespace kelvane::widgets
