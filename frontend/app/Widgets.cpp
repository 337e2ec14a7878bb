// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Widgets.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QTextCursor>

#include "Picture.h"

namespace pictalon {

TColourSwatch::TColourSwatch(QWidget* parent) : QFrame(parent) { setFocusPolicy(Qt::NoFocus); }

void TColourSwatch::SetColour(const QColor& colour) {
  colour_ = colour;
  update();
}

void TColourSwatch::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), colour_);
  // The border in the button-shadow colour.
  p.setPen(palette().color(QPalette::Dark));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

TPictureBox::TPictureBox(QWidget* parent, bool stretch) : QFrame(parent), stretch_(stretch) {}

void TPictureBox::LoadFromFile(const std::string& path) {
  QSize box = contentsRect().size();
  if (box.isEmpty()) box = size();
  image_ = LoadPictureToFit(path, box, stretch_);
  update();
}

void TPictureBox::Clear() {
  image_ = QImage();
  update();
}

void TPictureBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (image_.isNull()) return;
  QPainter p(this);
  QRect area = contentsRect();
  QSize shown = image_.size();
  if (shown.width() > area.width() || shown.height() > area.height() || stretch_)
    shown.scale(area.size(), Qt::KeepAspectRatio);
  QRect target(QPoint(0, 0), shown);
  target.moveCenter(area.center());
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(target, image_);
}

std::string ToStoredText(const QString& text) {
  QString stored = text;
  stored.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
  return stored.toStdString();
}

QString FromStoredText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace("\r\n", "\n").replace('\r', '\n');
  return shown;
}

TMemo::TMemo(std::size_t maxBytes, QWidget* parent) : QPlainTextEdit(parent), maxBytes_(maxBytes) {
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, &TMemo::Check);
}

void TMemo::SetText(const QString& text) {
  checking_ = true;
  setPlainText(text);
  checking_ = false;
  lastGood_ = text;
}

bool TMemo::Fits(const QString& text) const { return ToStoredText(text).size() <= maxBytes_; }

void TMemo::Check() {
  if (checking_) return;
  QString text = toPlainText();
  if (Fits(text)) {
    lastGood_ = text;
    return;
  }
  // Refuse the whole edit: the text and the caret go back to where they were.
  int position = qMin(textCursor().position(), int(lastGood_.size()));
  checking_ = true;
  setPlainText(lastGood_);
  QTextCursor cursor = textCursor();
  cursor.setPosition(qMin(position, int(lastGood_.size())));
  setTextCursor(cursor);
  checking_ = false;
  QApplication::beep();
}

QString SpokenCaption(const QString& caption) {
  QString spoken;
  for (int i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&&" stands for one "&"
    spoken += caption[i];
  }
  return spoken.endsWith(':') ? spoken.chopped(1) : spoken;
}

void TKeptText::Load(const std::string& stored, const QString& shown) {
  stored_ = stored;
  shown_ = shown;
  keep_ = QString::fromStdString(stored).toStdString() != stored;
}

std::string TKeptText::Save(const QString& now, const std::string& edited) const {
  return keep_ && now == shown_ ? stored_ : edited;
}

QLabel* FieldLabel(const QString& text, QWidget* field) {
  auto* label = new QLabel(text);
  label->setBuddy(field);
  const QString name = SpokenCaption(text);
  field->setAccessibleName(name);
  if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
    combo->lineEdit()->setAccessibleName(name);
  return label;
}

namespace {

// A combo box as assistive technology sees it: named by its accessible name, its current entry
// its value, its drop-down list (and edit field) its children, opened by its press action.
class TAccessibleComboBox : public QAccessibleWidget {
public:
  explicit TAccessibleComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {
    addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Combo()->currentText();
    if (t == QAccessible::Name && Combo()->accessibleName().isEmpty()) return Combo()->currentText();
    return QAccessibleWidget::text(t);
  }
  int childCount() const override { return Combo()->isEditable() ? 2 : 1; }
  QAccessibleInterface* child(int index) const override {
    if (index == 0) return QAccessible::queryAccessibleInterface(Combo()->view());
    if (index == 1 && Combo()->isEditable())
      return QAccessible::queryAccessibleInterface(Combo()->lineEdit());
    return nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < childCount(); ++i)
      if (this->child(i) == child) return i;
    return -1;
  }
  QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
  void doAction(const QString& actionName) override {
    if (actionName == showMenuAction() || actionName == pressAction()) Combo()->showPopup();
  }

private:
  QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* ComboBoxFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("QComboBox") && object && object->isWidgetType())
    return new TAccessibleComboBox(static_cast<QComboBox*>(object));
  return nullptr;
}

}  // namespace

void InstallComboBoxAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(ComboBoxFactory);
}

void SetHint(QWidget* button, const QString& hint) {
  button->setToolTip(hint);
  button->setAccessibleName(hint);
}

QHBoxLayout* SwatchRow(TColourSwatch* swatch, QWidget* button) {
  auto* row = new QHBoxLayout;
  row->setSpacing(2);
  row->addWidget(swatch);
  row->addWidget(button);
  row->addStretch();
  return row;
}

QAction* AddFieldButton(QLineEdit* field, const QIcon& icon, const QString& hint,
                        const QString& objectName) {
  QAction* action = field->addAction(icon, QLineEdit::TrailingPosition);
  action->setObjectName(objectName);
  action->setToolTip(hint);
  action->setText(hint);
  return action;
}

}  // namespace pictalon
