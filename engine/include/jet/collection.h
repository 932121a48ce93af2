// A DAO collection: items by position from 0 and by name, Count.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/error.h"

namespace jet {

template <class T>
class Collection;

// Case-insensitive comparison of object names, as Jet compares them
// (ASCII letters only; other bytes must match exactly).
bool namesEqual(std::string_view a, std::string_view b);

class Field;
class Index;

// Checks DAO makes when a program appends a new object to a collection
// (Fields.Append, Indexes.Append): a name Jet accepts (3125), a valid field
// type (3259), one primary key per table (3283). Objects of other kinds
// need none.
void checkAppend(const Collection<Field>& to, const Field& item);
void checkAppend(const Collection<Index>& to, const Index& item);
template <class C, class U>
void checkAppend(const C&, const U&) {}

// DAO's error for a second object of the same name in a collection:
// 3191 for fields, 3284 for indexes, 3012 otherwise.
Error duplicateNameError(const Field& item);
Error duplicateNameError(const Index& item);
template <class U>
Error duplicateNameError(const U& item) {
    return Error(kErrDuplicateObject, "Object '" + item.Name() + "' already exists.");
}

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

    // DAO's Append for objects the program builds (a new table's Fields
    // and Indexes, an index's Fields): the item goes at the end after
    // DAO's checks; a name already present gives duplicateNameError().
    void Append(std::unique_ptr<T> item) {
        if (!item) throw Error(kErrInvalidArgument, "Invalid argument.");
        if (find(item->Name())) throw duplicateNameError(*item);
        checkAppend(*this, *item);
        items_.push_back(std::move(item));
    }

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
