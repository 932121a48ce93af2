// A DAO collection: items by position from 0 and by name, Count.
#pragma once

#include <cstddef>
#include <cstdint>
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

// A hash of a name that agrees with namesEqual: names equal under it hash
// alike.
std::size_t nameHash(std::string_view name);

// Positions of the items of a collection by name: an open-addressing table
// of positions, each probe compared with namesEqual on the item's own name,
// so that no folded copy of a name is kept. Where two items share a name
// the first is found, as a scan from the front finds it.
class NameIndex {
public:
    // `nameAt(i)` is the name of item i; positions from 0 to count - 1.
    template <class NameAt>
    void rebuild(std::size_t count, NameAt nameAt) {
        std::size_t capacity = 16;
        while (capacity < count * 2) capacity *= 2;
        slots_.assign(capacity, 0);
        for (std::size_t i = 0; i < count; ++i) insert(i, nameAt(i), nameAt);
        count_ = count;
    }
    // Adds item `position` (the next one) named `name`.
    template <class NameAt>
    void add(std::size_t position, std::string_view name, NameAt nameAt) {
        if ((count_ + 1) * 2 > slots_.size()) return rebuild(position + 1, nameAt);
        insert(position, name, nameAt);
        ++count_;
    }
    // The position of the first item named `name`, or -1.
    template <class NameAt>
    std::ptrdiff_t find(std::string_view name, NameAt nameAt) const {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = nameHash(name) & mask;; at = (at + 1) & mask) {
            const std::uint32_t slot = slots_[at];
            if (slot == 0) return -1;
            if (namesEqual(nameAt(slot - 1), name)) return static_cast<std::ptrdiff_t>(slot - 1);
        }
    }

private:
    template <class NameAt>
    void insert(std::size_t position, std::string_view name, NameAt nameAt) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = nameHash(name) & mask;; at = (at + 1) & mask) {
            const std::uint32_t slot = slots_[at];
            if (slot == 0) {
                slots_[at] = static_cast<std::uint32_t>(position + 1);
                return;
            }
            if (namesEqual(nameAt(slot - 1), name)) return;  // the earlier item keeps the name
        }
    }

    std::vector<std::uint32_t> slots_;  // position + 1; 0 for an empty slot
    std::size_t count_ = 0;
};

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

    // The item of that name, or nullptr. A small collection is scanned; a
    // larger one is looked up through a name index made at its first lookup
    // and kept up to date as items are added. An item renamed (SetName)
    // while it is in a large collection is not found under its new name.
    T* find(std::string_view name) const {
        const int position = indexOf(name);
        return position < 0 ? nullptr : items_[static_cast<std::size_t>(position)].get();
    }
    // The position of the item of that name, or -1.
    int indexOf(std::string_view name) const {
        if (items_.size() < kIndexedFrom) {
            for (std::size_t i = 0; i < items_.size(); ++i)
                if (namesEqual(items_[i]->Name(), name)) return static_cast<int>(i);
            return -1;
        }
        if (!index_) {
            index_ = std::make_unique<NameIndex>();
            index_->rebuild(items_.size(), nameAt());
        }
        return static_cast<int>(index_->find(name, nameAt()));
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
        add(std::move(item));
    }

    // Engine side: adds an item at the end.
    T& add(std::unique_ptr<T> item) {
        items_.push_back(std::move(item));
        if (index_) index_->add(items_.size() - 1, items_.back()->Name(), nameAt());
        return *items_.back();
    }
    // Room for `count` items, for an engine that knows how many it adds.
    void reserve(int count) { items_.reserve(static_cast<std::size_t>(count)); }
    void clear() {
        items_.clear();
        index_.reset();
    }
    void removeAt(int index) {
        items_.erase(items_.begin() + index);
        index_.reset();
    }

private:
    auto nameAt() const {
        return [this](std::size_t i) -> std::string_view { return items_[i]->Name(); };
    }
    T* at(int index) const {
        if (index < 0 || index >= Count()) throw Error(kErrItemNotFound, "Item not found in this collection.");
        return items_[static_cast<std::size_t>(index)].get();
    }
    T* byName(std::string_view name) const {
        if (T* item = find(name)) return item;
        throw Error(kErrItemNotFound, "Item not found in this collection.");
    }

    // Collections this small are scanned: most hold a table's fields or an
    // index's members, looked up a few times each.
    static constexpr std::size_t kIndexedFrom = 24;

    std::vector<std::unique_ptr<T>> items_;
    mutable std::unique_ptr<NameIndex> index_;
};

}  // namespace jet
