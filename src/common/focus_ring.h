// A ring around the control that has the focus, which stands out under any palette.
#pragma once

#include <QFocusFrame>
#include <QPointer>

namespace evo {

// Drawn over whatever the style draws, just outside the focused control of its window, in
// FocusRingColour: a style's own focus mark often follows the palette's highlight, which a dark
// palette makes for light text on it and leaves faint against the window. A chart frames itself.
// A focus frame, which screen readers are not shown as a part of the window.
class FocusRing final : public QFocusFrame {
 public:
  explicit FocusRing(QWidget& window);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Follow(QWidget* focused);
  // Lays the ring around the followed control where it stands now.
  void Place();

  QWidget& window_;
  QPointer<QWidget> followed_;
};

// How far the ring lies outside the control: a blank pixel, then the ring.
inline constexpr int kFocusRingMargin = 3;
inline constexpr int kFocusRingWidth = 2;

}  // namespace evo
