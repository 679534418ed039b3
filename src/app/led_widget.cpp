#include "led_widget.h"

#include <QPainter>

namespace dorodure {

LedWidget::LedWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Led"));
}

void LedWidget::setColour(const QColor& colour) {
    if (colour == colour_) {
        return;
    }
    colour_ = colour;
    update();
}

void LedWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 2;
    const QRectF circle((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(colour_);
    painter.drawEllipse(circle);
}

}  // namespace dorodure
