// Base of the few objects that exist once per run; a second one is a programming error.
#pragma once

#include <stdexcept>

template <class T>
class Singleton {
public:
    // The one object of type T, or null before it is made or after it is gone.
    static T* instance() { return static_cast<T*>(self); }

    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

protected:
    Singleton() {
        if (self) throw std::runtime_error("Singleton is made twice.\n");
        self = this;
    }
    virtual ~Singleton() {
        if (self == this) self = nullptr;
    }

private:
    static inline Singleton* self = nullptr;
};
