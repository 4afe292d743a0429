#include "view/form_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>

#include "view/list_box_view.h"
#include "view/skin_text.h"
#include "view/twips.h"

namespace vx::view {

namespace {

// A label that reports clicks.
class ClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> clicked;

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (clicked && rect().contains(e->position().toPoint())) clicked();
  }
};

// One control array is one group of options, and so are the options inside one frame.
bool sameGroup(const form::OptionButton& a, const form::OptionButton& b) {
  return a.name() == b.name() || (!a.container().empty() && a.container() == b.container());
}

// A plain drawing surface (a picture box) that reports mouse presses, moves and releases in
// twips; lines drawn on it are controls of their own, raised above it.
class PadView : public QFrame {
 public:
  PadView(form::Control& control, Dispatcher& dispatcher, QWidget* parent)
      : QFrame(parent), control_(control), dispatcher_(dispatcher) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override { send(e, control_.events.mouseDown); }
  void mouseMoveEvent(QMouseEvent* e) override { send(e, control_.events.mouseMove); }
  void mouseReleaseEvent(QMouseEvent* e) override { send(e, control_.events.mouseUp); }

 private:
  void send(QMouseEvent* e, const std::function<void(const form::MouseEvent&)>& handler) {
    form::MouseEvent m;
    m.button = (e->buttons() | e->button()) & Qt::LeftButton    ? form::MouseButton::Left
               : (e->buttons() | e->button()) & Qt::RightButton ? form::MouseButton::Right
                                                                : form::MouseButton::None;
    m.x = toTwips(e->position().x());
    m.y = toTwips(e->position().y());
    dispatcher_.run([handler, m] {
      if (handler) handler(m);
    });
  }
  form::Control& control_;
  Dispatcher& dispatcher_;
};

QRect pixels(const form::Control& c) {
  return QRect(toWholePixels(c.left()), toWholePixels(c.top()), std::max(1, toWholePixels(c.width())),
               std::max(1, toWholePixels(c.height())));
}

// A drawn line, over the box of its container (its coordinates are relative to that box).
class LineView : public QWidget {
 public:
  LineView(const form::Line& line, QWidget* parent) : QWidget(parent), line_(line) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor colour = line_.colour < 0 ? palette().color(QPalette::WindowText)
                                     : QColor((line_.colour >> 16) & 0xFF, (line_.colour >> 8) & 0xFF, line_.colour & 0xFF);
    painter.setPen(QPen(colour, 1.5));
    painter.drawLine(QPointF(toPixels(line_.x1), toPixels(line_.y1)), QPointF(toPixels(line_.x2), toPixels(line_.y2)));
  }

 private:
  const form::Line& line_;
};

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

namespace {

// A font and colours the program gave a label (the skin window's preview) replace the style's.
void applyTextLook(QWidget& w, const form::Control& c) {
  if (c.fontName().empty() && c.fontSize() <= 0 && c.foreColor() < 0 && c.backColor() < 0) return;
  if (!c.fontName().empty() || c.fontSize() > 0) {
    QFont font = w.font();
    if (!c.fontName().empty()) font.setFamily(QString::fromStdString(c.fontName()));
    if (c.fontSize() > 0) font = fontOf(font.family(), c.fontSize());
    w.setFont(font);
  }
  QPalette palette = w.palette();
  if (c.foreColor() >= 0) palette.setColor(QPalette::WindowText, colourOf(c.foreColor()));
  if (c.backColor() >= 0) {
    palette.setColor(QPalette::Window, colourOf(c.backColor()));
    w.setAutoFillBackground(true);
  }
  w.setPalette(palette);
}

}  // namespace

FormWindow::FormWindow(Program& p, form::Form& form, Dispatcher& dispatcher, FormWindowOptions options, QWidget* owner)
    : QWidget(owner, Qt::Dialog), p_(p), form_(form), dispatcher_(dispatcher), options_(std::move(options)) {
  for (form::Control* c : form.controls()) {
    QWidget* w = create(*c);
    if (!w) continue;
    itemsOf_[c].push_back(items_.size());
    if (const form::Control* box = c->container().empty() ? nullptr : form.find(c->container()))
      itemsOf_[box].push_back(items_.size());
    items_.push_back({c, w, {}});
  }
  form_.changes().take(changed_);
  for (Item& item : items_) update(item);
  sync();
}

QWidget* FormWindow::create(form::Control& c) {
  switch (c.kind()) {
    case form::ControlKind::Label: {
      auto& label = static_cast<form::Label&>(c);
      if (options_.frames.count(c.name())) return new QGroupBox(this);
      if (options_.pads.count(c.name())) return new PadView(label, dispatcher_, this);
      if (options_.buttons.count(c.name())) {
        auto* b = new QPushButton(this);
        connect(b, &QPushButton::clicked, this, [this, &label] {
          dispatcher_.run([&label] {
            if (label.events.click) label.events.click();
          });
        });
        return b;
      }
      auto* l = new ClickLabel(this);
      l->setWordWrap(true);
      l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      l->clicked = [this, &label] {
        dispatcher_.run([&label] {
          if (label.events.click) label.events.click();
        });
      };
      return l;
    }
    case form::ControlKind::Picture:
      return new QLabel(this);
    case form::ControlKind::ListBox: {
      if (!c.visible()) return nullptr;  // a list hidden by design holds data only
      auto* list = new ListBoxView(static_cast<form::ListBox&>(c), dispatcher_, this);
      list->setFrameShape(QFrame::StyledPanel);
      return list;
    }
    case form::ControlKind::OptionButton: {
      auto& option = static_cast<form::OptionButton&>(c);
      auto* b = new QRadioButton(this);
      connect(b, &QRadioButton::clicked, this, [this, &option] {
        dispatcher_.run([this, &option] {
          // One control array is one group of options.
          for (form::Control* other : form_.controls())
            if (auto* o = dynamic_cast<form::OptionButton*>(other); o && sameGroup(*o, option))
              o->setValue(o == &option);
          if (option.events.click) option.events.click();
        });
      });
      return b;
    }
    case form::ControlKind::CheckBox: {
      auto& check = static_cast<form::CheckBox&>(c);
      auto* b = new QCheckBox(this);
      connect(b, &QCheckBox::clicked, this, [this, &check](bool on) {
        dispatcher_.run([&check, on] {
          check.setValue(on ? 1 : 0);
          if (check.events.click) check.events.click();
        });
      });
      return b;
    }
    case form::ControlKind::TextBox: {
      auto& box = static_cast<form::TextBox&>(c);
      auto* e = new QLineEdit(this);
      connect(e, &QLineEdit::textEdited, this, [this, &box](const QString& t) {
        dispatcher_.run([&box, t] {
          box.setText(t.toStdString());
          if (box.events.change) box.events.change();
        });
      });
      return e;
    }
    case form::ControlKind::Slider: {
      auto& slider = static_cast<form::Slider&>(c);
      auto* s = new QSlider(c.width() >= c.height() ? Qt::Horizontal : Qt::Vertical, this);
      s->setInvertedAppearance(s->orientation() == Qt::Vertical);  // the minimum at the top
      s->setInvertedControls(s->orientation() == Qt::Vertical);
      auto moved = [this, &slider](int v) {
        dispatcher_.run([&slider, v] {
          if (slider.value() == v) return;
          slider.setValue(v);
          if (slider.events.change) slider.events.change();
        });
      };
      connect(s, &QSlider::sliderMoved, this, moved);
      // Arrow and page keys, clicks on the track: the new position is known once the action ran.
      connect(s, &QSlider::actionTriggered, this, [s, moved](int action) {
        if (action != QAbstractSlider::SliderMove && action != QAbstractSlider::SliderNoAction) moved(s->sliderPosition());
      });
      connect(s, &QSlider::sliderReleased, this, [this, &slider] {
        dispatcher_.run([&slider] {
          if (slider.events.mouseUp) slider.events.mouseUp(form::MouseEvent{});
        });
      });
      return s;
    }
    case form::ControlKind::Line:
      return new LineView(static_cast<form::Line&>(c), this);
    default:
      return nullptr;
  }
}

// The control's place in the window: a control on a container is placed relative to it.
QRect FormWindow::placeOf(const form::Control& c) const {
  QRect r = pixels(c);
  if (c.container().empty()) return r;
  if (const form::Control* box = form_.find(c.container())) r.translate(pixels(*box).topLeft());
  return r;
}

void FormWindow::updatePicture(Item& item) {
  auto* label = static_cast<QLabel*>(item.widget);
  if (options_.iconPictures.count(item.control->name())) {
    if (icon_.isNull()) return;
    label->setPixmap(icon_.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return;
  }
  const QPixmap& pixmap = pixmaps_.get(ui::pictureFile(p_, static_cast<form::Picture&>(*item.control), item.source));
  if (!pixmap.isNull()) label->setPixmap(pixmap);
}

void FormWindow::update(Item& item) {
  form::Control& c = *item.control;
  QWidget* w = item.widget;
  if (auto* line = dynamic_cast<form::Line*>(&c); line && !c.container().empty()) {
    if (const form::Control* box = form_.find(c.container())) w->setGeometry(pixels(*box));
    w->raise();
    w->update();
  } else {
    w->setGeometry(placeOf(c));
  }
  w->setVisible(c.visible());
  w->setEnabled(c.enabled());
  if (!c.tooltip().empty()) w->setToolTip(text(c.tooltip()));
  if (auto* l = dynamic_cast<form::Label*>(&c)) {
    if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text(l->caption()));
    else if (auto* b = qobject_cast<QPushButton*>(w)) b->setText(text(l->caption()));
    else if (auto* q = qobject_cast<QLabel*>(w)) q->setText(text(l->caption()));
    applyTextLook(*w, c);
  } else if (c.kind() == form::ControlKind::Picture) {
    updatePicture(item);
  } else if (auto* list = dynamic_cast<ListBoxView*>(w)) {
    list->sync();
  } else if (auto* o = dynamic_cast<form::OptionButton*>(&c)) {
    auto* b = static_cast<QRadioButton*>(w);
    b->setText(text(o->caption()));
    b->setAutoExclusive(false);
    b->setChecked(o->value());
  } else if (auto* k = dynamic_cast<form::CheckBox*>(&c)) {
    auto* b = static_cast<QCheckBox*>(w);
    b->setText(text(k->caption()));
    b->setChecked(k->value() != 0);
  } else if (auto* t = dynamic_cast<form::TextBox*>(&c)) {
    auto* e = static_cast<QLineEdit*>(w);
    if (e->text() != text(t->text())) e->setText(text(t->text()));
  } else if (auto* s = dynamic_cast<form::Slider*>(&c)) {
    auto* q = static_cast<QSlider*>(w);
    q->setRange(std::min(s->min, s->max), std::max(s->min, s->max));
    q->setSingleStep(s->smallChange);
    q->setPageStep(s->largeChange);
    if (s->tickFrequency > 0) {
      q->setTickInterval(s->tickFrequency);
      q->setTickPosition(QSlider::TicksBothSides);
    }
    q->setValue(s->value());
  }
}

// In the window's order, whatever order the changes came in: a line is raised above the lines
// before it as when it was built.
void FormWindow::updateChanged() {
  form_.changes().take(changed_);
  due_.clear();
  for (const form::Control* c : changed_) {
    auto it = itemsOf_.find(c);
    if (it != itemsOf_.end()) due_.insert(due_.end(), it->second.begin(), it->second.end());
  }
  std::sort(due_.begin(), due_.end());
  due_.erase(std::unique(due_.begin(), due_.end()), due_.end());
  for (size_t i : due_) update(items_[i]);
}

void FormWindow::sync() {
  if (form_.caption != shownCaption_) {
    shownCaption_ = form_.caption;
    setWindowTitle(text(form_.caption));
  }
  QSize size(toWholePixels(form_.width), toWholePixels(form_.height));
  if (this->size() != size) setFixedSize(size);
  updateChanged();
  if (form_.visible && !isVisible()) {
    if (!placed_ && parentWidget()) move(parentWidget()->geometry().center() - rect().center());
    placed_ = true;
    show();
    raise();
  } else if (!form_.visible && isVisible()) {
    hide();
  }
}

void FormWindow::setIcon(const QPixmap& icon) {
  icon_ = icon;
  for (Item& item : items_)
    if (options_.iconPictures.count(item.control->name())) updatePicture(item);
}

QWidget* FormWindow::widgetOf(const std::string& name, int index) const {
  for (const Item& item : items_)
    if (item.control->name() == name && item.control->index() == index) return item.widget;
  return nullptr;
}

void FormWindow::closeEvent(QCloseEvent* e) {
  if (p_.quitRequested) {
    e->accept();
    return;
  }
  e->ignore();
  dispatcher_.run([this] {
    if (form_.queryClose) {
      form_.queryClose();
      return;
    }
    form_.visible = false;
    form_.touch();
  });
}

}  // namespace vx::view
