#pragma once

#include <QColor>
#include <QWidget>

namespace dorodure {

// The round LED of the baton panel: a filled circle with a dark rim.
class LedWidget final : public QWidget {
    Q_OBJECT
  public:
    explicit LedWidget(QWidget* parent = nullptr);

    QColor colour() const { return colour_; }
    void setColour(const QColor& colour);

    QSize sizeHint() const override { return {25, 25}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour_ = Qt::red;
};

}  // namespace dorodure
