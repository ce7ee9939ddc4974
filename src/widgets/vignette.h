#pragma once

#include <QImage>
#include <QLabel>

namespace kelvane::widgets {

// A picture shown scaled to fit the box it is given, its proportions kept, or the text « image illisible » when its
// bytes cannot be shown. A click, Enter or Space opens it larger in a window of its own, which Escape closes. It
// takes the focus only by a click, so that the candidate's Tab order over the answers stays what it is.
class Vignette : public QLabel {
    Q_OBJECT
public:
    explicit Vignette(QWidget* parent = nullptr);

    // Shows those bytes (nothing for an empty array: the vignette hides); `titre` names the picture in the larger
    // window's title.
    void montrer(const QByteArray& octets, const QString& titre);
    bool estLisible() const { return !image_.isNull(); }
    const QImage& image() const { return image_; }

    // Opens the larger window (modal); returns when it closes.
    void agrandir();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ajuster();

    QImage image_;
    QByteArray octets_; // those image_ was decoded from, not decoded again while they are shown
    QString titre_;
};

} // namespace kelvane::widgets
