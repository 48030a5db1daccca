#pragma once
// A control array: controls of one type sharing a name, each with its own
// index. Indexes are the original ones and may be sparse (Label1 6..11 with
// gaps). Members are owned by the array; when the array is bound to a form
// every member is registered there under (name, index).
//
//   ControlArray<Label> Label9;          // member of a form struct
//   Label9.bind(*this, "Label9");        // in the form's constructor
//   Label9.addRange(0, 6);
//   Label9[3].setCaption("...");
//   for (Label& l : Label9) ...          // present members, ascending index
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "toolkit/form.h"

namespace tarvolin {

template <typename T>
class ControlArray {
    using Map = std::map<int, std::unique_ptr<T>>;

public:
    ControlArray() = default;
    ControlArray(Form& form, std::string name) { bind(form, std::move(name)); }
    ControlArray(const ControlArray&) = delete;
    ControlArray& operator=(const ControlArray&) = delete;
    ~ControlArray() {
        if (form_) {
            for (auto& [i, c] : members_) form_->forget(*c);
        }
    }

    // Sets the form and name; members created before are registered now.
    void bind(Form& form, std::string name) {
        form_ = &form;
        name_ = std::move(name);
        for (auto& [i, c] : members_) form_->adopt(*c, name_, i);
    }
    const std::string& Name() const { return name_; }

    // Creates the member at index (or returns the existing one).
    T& add(int index) {
        auto it = members_.find(index);
        if (it != members_.end()) return *it->second;
        auto p = std::make_unique<T>();
        T& ref = *p;
        members_.emplace(index, std::move(p));
        if (form_) form_->adopt(ref, name_, index);
        else ref.setIdentity(nullptr, name_, index);
        return ref;
    }
    // Creates the members lo..hi.
    void addRange(int lo, int hi) {
        for (int i = lo; i <= hi; ++i) add(i);
    }
    // Removes a member (the original's Unload of an array element).
    void remove(int index) {
        auto it = members_.find(index);
        if (it == members_.end()) return;
        if (form_) form_->forget(*it->second);
        members_.erase(it);
    }

    bool has(int index) const { return members_.count(index) != 0; }
    // Throws std::out_of_range for an index that is not present (the
    // original's "Control array element does not exist").
    T& operator[](int index) {
        auto it = members_.find(index);
        if (it == members_.end())
            throw std::out_of_range("control array " + name_ + ": no element " + std::to_string(index));
        return *it->second;
    }
    const T& operator[](int index) const {
        return const_cast<ControlArray*>(this)->operator[](index);
    }
    T* get(int index) {
        auto it = members_.find(index);
        return it == members_.end() ? nullptr : it->second.get();
    }

    // Lowest and highest present index; with no member LBound 0, UBound -1.
    int LBound() const { return members_.empty() ? 0 : members_.begin()->first; }
    int UBound() const { return members_.empty() ? -1 : members_.rbegin()->first; }
    int Count() const { return static_cast<int>(members_.size()); }

    template <typename M, typename V>
    class Iter {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = V;
        using difference_type = std::ptrdiff_t;
        using pointer = V*;
        using reference = V&;
        Iter() = default;
        explicit Iter(M it) : it_(it) {}
        V& operator*() const { return *it_->second; }
        V* operator->() const { return it_->second.get(); }
        Iter& operator++() { ++it_; return *this; }
        Iter operator++(int) { Iter t = *this; ++it_; return t; }
        bool operator==(const Iter& o) const { return it_ == o.it_; }
        bool operator!=(const Iter& o) const { return it_ != o.it_; }
        // Index of the member the iterator points at.
        int index() const { return it_->first; }

    private:
        M it_{};
    };
    using iterator = Iter<typename Map::iterator, T>;
    using const_iterator = Iter<typename Map::const_iterator, const T>;

    iterator begin() { return iterator(members_.begin()); }
    iterator end() { return iterator(members_.end()); }
    const_iterator begin() const { return const_iterator(members_.begin()); }
    const_iterator end() const { return const_iterator(members_.end()); }

private:
    Form* form_ = nullptr;
    std::string name_;
    Map members_;
};

}  // namespace tarvolin
