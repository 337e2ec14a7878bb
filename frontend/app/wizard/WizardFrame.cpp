// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "WizardFrame.h"

#include <QAccessibleWidget>
#include <QBitmap>
#include <QPainter>
#include <QPointer>

#include <map>

#include "Platform.h"

namespace pictalon {

namespace {

// One page's tab as screen readers find it; it stays registered while the bar lives, and is
// only reached while its page's tab is in the bar.
class TPageTabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
  TPageTabAccessible(TPageTabs* bar, int page) : bar_(bar), page_(page) {}

  int Page() const { return page_; }

  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
  }
  bool isValid() const override { return bar_ && bar_->TabOf(page_) >= 0; }
  QObject* object() const override { return nullptr; }
  QAccessible::Role role() const override { return QAccessible::PageTab; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(bar_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}

  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    state = parent()->state();
    const bool current = bar_->TabOf(page_) == bar_->currentIndex();
    state.selectable = true;
    state.selected = current;
    state.focused = current && bar_->hasFocus();
    return state;
  }
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect tab = bar_->tabRect(bar_->TabOf(page_));
    return {bar_->mapToGlobal(tab.topLeft()), tab.size()};
  }
  QString text(QAccessible::Text t) const override {
    if (!isValid()) return {};
    const int tab = bar_->TabOf(page_);
    if (t == QAccessible::Name) return bar_->tabText(tab);
    if (t == QAccessible::Description) return bar_->tabToolTip(tab);
    return {};
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (isValid() && action == pressAction()) bar_->setCurrentIndex(bar_->TabOf(page_));
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
  QPointer<TPageTabs> bar_;
  int page_;
};

// The bar as screen readers find it: a list of the tabs it holds, named after the current one.
class TPageTabsAccessible : public QAccessibleWidget {
public:
  explicit TPageTabsAccessible(TPageTabs* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
  ~TPageTabsAccessible() override {
    for (const auto& [page, id] : tabs_) QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override { return Bar()->count(); }
  QAccessibleInterface* child(int index) const override {
    const int page = Bar()->PageAt(index);
    if (page < 0) return nullptr;
    auto found = tabs_.find(page);
    if (found != tabs_.end()) return QAccessible::accessibleInterface(found->second);
    auto* tab = new TPageTabAccessible(Bar(), page);
    tabs_[page] = QAccessible::registerAccessibleInterface(tab);
    return tab;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* tab = dynamic_cast<const TPageTabAccessible*>(child);
    return tab ? Bar()->TabOf(tab->Page()) : -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const int index = Bar()->tabAt(Bar()->mapFromGlobal(QPoint(x, y)));
    return index >= 0 ? child(index) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    return Bar()->hasFocus() ? child(Bar()->currentIndex()) : nullptr;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return Bar()->tabText(Bar()->currentIndex());
    return QAccessibleWidget::text(t);
  }

private:
  TPageTabs* Bar() const { return static_cast<TPageTabs*>(widget()); }
  mutable std::map<int, QAccessible::Id> tabs_;
};

std::string PageAreaMemoPath() { return GetUserDataFolderPath() + "wizard-size.cache"; }

QAccessibleInterface* PageTabsAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String(TPageTabs::staticMetaObject.className()) && object->isWidgetType())
    return new TPageTabsAccessible(static_cast<TPageTabs*>(object));
  return nullptr;
}

}  // namespace

TPageTabs::TPageTabs(QWidget* parent) : QTabBar(parent) {
  static const bool installed = (QAccessible::installFactory(PageTabsAccessible), true);
  Q_UNUSED(installed);
  // The bar is as wide as its tabs: there is nothing to scroll to.
  setUsesScrollButtons(false);
}

void TPageTabs::AddPage(std::function<QIcon()> icon, const QString& caption) {
  pages_.push_back({std::move(icon), caption, QIcon()});
}

void TPageTabs::ShowPages(const std::vector<bool>& shown, int page) {
  std::vector<int> wanted;
  for (int i = 0; i < int(pages_.size()); ++i)
    if (shown[i]) wanted.push_back(i);
  std::vector<int> present;
  for (int i = 0; i < count(); ++i) present.push_back(PageAt(i));
  if (wanted != present) {
    // Taking the tabs out and putting them in again lays the bar out afresh.
    while (count() > 0) removeTab(count() - 1);
    for (int i : wanted) {
      TPage& tab = pages_[i];
      if (tab.makeIcon) tab.icon = std::exchange(tab.makeIcon, nullptr)();
      setTabData(addTab(tab.icon, tab.caption), i);
    }
    QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
  }
  if (TabOf(page) >= 0) setCurrentIndex(TabOf(page));
}

int TPageTabs::PageAt(int index) const {
  const QVariant page = tabData(index);
  return page.isValid() ? page.toInt() : -1;
}

int TPageTabs::TabOf(int page) const {
  for (int i = 0; i < count(); ++i)
    if (PageAt(i) == page) return i;
  return -1;
}

QSize TPageTabs::tabSizeHint(int index) const {
  QSize hint = QTabBar::tabSizeHint(index);
  return {qMax(hint.width(), 110), hint.height()};
}

QSize TPageAreaMemo::Size() const {
  std::string text;
  if (key_.isEmpty() || !ReadWholeFile(PageAreaMemoPath(), text)) return {};
  const QStringList lines = QString::fromStdString(text).split('\n');
  if (lines.size() < 2 || lines[0] != key_) return {};
  const QStringList size = lines[1].split(' ');
  bool wide = false, high = false;
  const QSize remembered(size.value(0).toInt(&wide), size.value(1).toInt(&high));
  return wide && high && size.size() == 2 && !remembered.isEmpty() ? remembered : QSize();
}

void TPageAreaMemo::Remember(QSize size) const {
  if (key_.isEmpty()) return;
  const QString text = key_ + '\n' + QString("%1 %2\n").arg(size.width()).arg(size.height());
  WriteFileAtomic(PageAreaMemoPath(), text.toStdString());
}

void TGalleryComboDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  bool selected = option.state & QStyle::State_Selected;
  painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
  int textLeft = option.rect.left() + 2;
  QPixmap bitmap = index.data(Qt::DecorationRole).value<QPixmap>();
  if (!bitmap.isNull()) {
    QPixmap shown = bitmap;
    shown.setMask(bitmap.createMaskFromColor(QColor(255, 0, 0)));
    painter->drawPixmap(option.rect.left() + 2, option.rect.top(), shown);
    textLeft = option.rect.left() + bitmap.width() + 6;
  }
  painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(QRect(textLeft, option.rect.top(), option.rect.right() - textLeft,
                          option.rect.height()),
                    Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
}

QSize TGalleryComboDelegate::sizeHint(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
  QSize hint = QStyledItemDelegate::sizeHint(option, index);
  return {hint.width() + 8, qMax(16, option.fontMetrics.height())};
}

}  // namespace pictalon
