// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window made at its first use rather than at program start: most starts never open it, and
// what the first frame does not show need not be built before it.
#include <functional>
#include <memory>
#include <utility>

namespace pictalon {

template <class T>
class TLazy {
public:
  using TMake = std::function<std::unique_ptr<T>()>;

  void SetMaker(TMake make) { make_ = std::move(make); }
  // The object, made now when it was not yet.
  T* get() {
    if (!object_ && make_) object_ = make_();
    return object_.get();
  }
  T& operator*() { return *get(); }
  T* operator->() { return get(); }
  // The object when it has been made; nothing is made.
  T* IfMade() const { return object_.get(); }

private:
  TMake make_;
  std::unique_ptr<T> object_;
};

}  // namespace pictalon
