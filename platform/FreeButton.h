// Owner-drawn push button for the mouse: coloured body, white one- or two-line caption at the
// top right and a small picture at the top left. It never takes keyboard focus.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QRect>
#include <QString>

class TFreeButton : public QAbstractButton
{
    Q_OBJECT

public:
    enum class TPicture { None, Clear, Chart, Gear, Cross, Tick };

    static constexpr int kBodyMargin = 1;     // BackColor shows this far around the body
    static constexpr int kCornerRadius = 4;
    static constexpr int kContentInset = 5;   // from the body edge to picture and caption
    static constexpr int kPictureSize = 16;

    explicit TFreeButton(QWidget *parent = nullptr);

    QColor DrawColor() const { return m_drawColor; }
    void SetDrawColor(const QColor &color);
    QColor BackColor() const { return m_backColor; }
    void SetBackColor(const QColor &color);
    QString Caption() const { return text(); }
    void SetCaption(const QString &caption);
    QString Caption2() const { return m_caption2; }
    void SetCaption2(const QString &caption);
    TPicture Picture() const { return m_picture; }
    void SetPicture(TPicture picture);

    QSize sizeHint() const override;

    // Geometry for a button of the given size, before the 1 px shift of the pressed look.
    static QRect BodyRect(const QSize &size);
    static QRect PictureRect(const QSize &size);
    // Colour at the middle of the body: lighter under the mouse, darker while held down.
    static QColor BodyColor(const QColor &drawColor, bool hovered, bool down);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    QColor m_drawColor;
    QColor m_backColor;
    QString m_caption2;
    TPicture m_picture = TPicture::None;
    bool m_hovered = false;
};
