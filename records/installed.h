// A program-wide object that the program or a test installs in place of its default (the event
// log's sink, the settings store), and the scope that installs one for its lifetime.
#pragma once

namespace dv {

// The installed object of type T (not owned); null: T's default is in use.
template <typename T>
T*& Installed() {
    static T* installed = nullptr;
    return installed;
}

// Installs an object for the life of the scope, then puts the previous one back. Scopes nest.
template <typename T>
class ScopedInstall {
  public:
    explicit ScopedInstall(T& object) : previous_(Installed<T>()) { Installed<T>() = &object; }
    ~ScopedInstall() { Installed<T>() = previous_; }
    ScopedInstall(const ScopedInstall&) = delete;
    ScopedInstall& operator=(const ScopedInstall&) = delete;

  private:
    T* previous_;
};

}  // namespace dv
