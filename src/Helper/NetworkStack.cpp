#include "Helper/NetworkStack.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace keyloom {

namespace {

using Entry = const NetworkStack* (*)(int version);

// Beside an installed program first, then where this build put it.
std::vector<std::string> candidates() {
    std::vector<std::string> paths;
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) paths.push_back((program.parent_path() / ".." / KEYLOOM_NETWORK_STACK_INSTALLED).lexically_normal());
    paths.emplace_back(KEYLOOM_NETWORK_STACK_BUILT);
    return paths;
}

const NetworkStack* load() {
    std::string failure;
    for (const std::string& path : candidates()) {
        if (::access(path.c_str(), R_OK) != 0) continue;
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);  // kept for the life of the process
        const char* error = module ? nullptr : ::dlerror();
        const auto entry = module ? reinterpret_cast<Entry>(::dlsym(module, "keyloom_network_stack")) : nullptr;
        if (const NetworkStack* stack = entry ? entry(kNetworkStackVersion) : nullptr) return stack;
        failure = path + ": " + (error ? error : "not this program's network module");
    }
    if (failure.empty()) failure = std::string(KEYLOOM_NETWORK_STACK_BUILT) + " is missing";
    std::fprintf(stderr, "velkor-keyloom: no network module (%s): account requests fail\n", failure.c_str());
    return nullptr;
}

}  // namespace

const NetworkStack* networkStack() {
    static const NetworkStack* const stack = load();
    return stack;
}

}  // namespace keyloom
