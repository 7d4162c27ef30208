#pragma once

#include <QtGlobal>

// One object of a kind installed for as long as the installation lives, found by code that has no
// other way to reach it (free functions standing in for a platform library). Installing a second
// one while the first lives is a mistake in a test, and stops it at once, unless the kind says
// installations stack (kHookStacks): then the newest is in front until it goes, as for the
// services each program root installs, of which tests make several.
template <typename T> class ScopedHook {
public:
    explicit ScopedHook(T& object) : previous_(slot()) {
        if constexpr (!stacks())
            if (previous_ != nullptr)
                qFatal("a %s is already installed", T::kHookName);
        slot() = &object;
    }
    ~ScopedHook() { slot() = previous_; }
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;

    // The object installed last, or nullptr.
    static T* current() { return slot(); }

private:
    static constexpr bool stacks() {
        if constexpr (requires { T::kHookStacks; })
            return T::kHookStacks;
        return false;
    }
    static T*& slot() {
        static T* installed = nullptr;
        return installed;
    }

    T* previous_;
};
