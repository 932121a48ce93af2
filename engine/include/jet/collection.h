// A DAO collection: items by position from 0 and by name, Count.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/error.h"

namespace jet {

// Case-insensitive comparison of object names, as Jet compares them
// (ASCII letters only; other bytes must match exactly).
bool namesEqual(std::string_view a, std::string_view b);

template <class T>
class Collection {
public:
    int Count() const { return static_cast<int>(items_.size()); }

    // Item by position, 0 to Count - 1; error 3265 outside that range.
    T& operator[](int index) { return *at(index); }
    const T& operator[](int index) const { return *at(index); }
    // Item by name (case-insensitive); error 3265 when absent.
    T& operator[](std::string_view name) { return *byName(name); }
    const T& operator[](std::string_view name) const { return *byName(name); }
    T& operator[](const char* name) { return *byName(name); }
    const T& operator[](const char* name) const { return *byName(name); }
    T& Item(int index) { return *at(index); }
    T& Item(std::string_view name) { return *byName(name); }

    // The item of that name, or nullptr.
    T* find(std::string_view name) const {
        for (const auto& item : items_)
            if (namesEqual(item->Name(), name)) return item.get();
        return nullptr;
    }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    // Engine side: adds an item at the end.
    T& add(std::unique_ptr<T> item) {
        items_.push_back(std::move(item));
        return *items_.back();
    }
    void clear() { items_.clear(); }
    void removeAt(int index) { items_.erase(items_.begin() + index); }

private:
    T* at(int index) const {
        if (index < 0 || index >= Count()) throw Error(kErrItemNotFound, "Item not found in this collection.");
        return items_[static_cast<std::size_t>(index)].get();
    }
    T* byName(std::string_view name) const {
        if (T* item = find(name)) return item;
        throw Error(kErrItemNotFound, "Item not found in this collection.");
    }

    std::vector<std::unique_ptr<T>> items_;
};

}  // namespace jet
