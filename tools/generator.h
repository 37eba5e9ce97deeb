// Registry of asset generators: each generator file registers itself, so adding assets
// never touches a central list.
#pragma once

#include <string>

using GeneratorFn = int (*)(const std::string& gameDir);  // 1 on success

struct GeneratorRegistration {
    GeneratorRegistration(const char* name, GeneratorFn fn);
};

#define REGISTER_GENERATOR(name, fn) static GeneratorRegistration g_reg_##fn(name, fn)

// Helpers for generators
int MakeDirs(const std::string& path);  // mkdir -p; 1 on success
int WriteFileBytes(const std::string& path, const void* data, size_t size);
