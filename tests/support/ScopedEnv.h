#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace leafmill::test {

// Sets an environment variable (or unsets it, for nullptr) for one scope and
// puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        set(value);
    }
    ~ScopedEnv() { set(old_ ? old_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void set(const char* value) const
    {
#ifdef _WIN32
        _putenv_s(name_.c_str(), value ? value : "");
#else
        value ? setenv(name_.c_str(), value, 1) : unsetenv(name_.c_str());
#endif
    }

    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace leafmill::test
