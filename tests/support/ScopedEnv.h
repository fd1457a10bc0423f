// An environment variable set for the life of the object (or only kept, to
// be changed by the test), and put back as it was - unset if it was - when
// the object goes away.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace velloran::test {

class ScopedEnv {
public:
    explicit ScopedEnv(const char* name) : m_name(name)
    {
        if (const char* value = std::getenv(name))
            m_old = value;
    }
    ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name) { setenv(name, value.c_str(), 1); }
    ~ScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

}  // namespace velloran::test
