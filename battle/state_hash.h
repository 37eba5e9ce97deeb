// CStateHash: a 64-bit FNV-1a digest of simulation values, floats and doubles by their bit
// patterns, so two games (or two runs) that computed the same world get the same number and
// any bit of difference shows.
#pragma once

#include "sys_math.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class CStateHash {
public:
    void AddBytes(const void* data, size_t size) {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) {
            m_value ^= p[i];
            m_value *= kPrime;
        }
    }
    void Add(int v) { AddBytes(&v, sizeof v); }
    void Add(unsigned v) { AddBytes(&v, sizeof v); }
    void Add(bool v) { Add(v ? 1 : 0); }
    void Add(float v) { AddBytes(&v, sizeof v); }
    void Add(double v) { AddBytes(&v, sizeof v); }
    void Add(const Vec3& v) { Add(v.x), Add(v.y), Add(v.z); }
    void Add(const Mat4& m) { AddBytes(m.m, sizeof m.m); }
    // The length goes first, so "ab" + "c" and "a" + "bc" differ.
    void Add(const std::string& s) {
        Add(int(s.size()));
        AddBytes(s.data(), s.size());
    }
    uint64_t Value() const { return m_value; }

private:
    static constexpr uint64_t kPrime = 1099511628211ull;
    uint64_t m_value = 14695981039346656037ull;
};
