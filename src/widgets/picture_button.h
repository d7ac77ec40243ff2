// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>

class QSvgRenderer;

// A picture that acts as a button: clicked with the mouse, or with Space and Enter
// when it has the focus, which it shows with a frame.
class PictureButton : public QAbstractButton
{
    Q_OBJECT

public:
    PictureButton(const QString &svgResource, QWidget *parent = nullptr);

    // A single border around the picture, as after the web link's first press.
    bool singleBorder() const { return m_singleBorder; }
    void setSingleBorder(bool on);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QSvgRenderer *m_renderer;
    bool m_singleBorder = false;
};
