// The host side on POSIX: dlopen, the plug-in's abnormal end caught as the C++
// exception it is, and a host failure thrown as one.
#include "host/Host.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <stdexcept>

#include "platform/Fault.h"

namespace quillet::host {

std::string DefaultPluginPath() {
  char path[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string directory(path, length > 0 ? static_cast<size_t>(length) : 0);
  const size_t slash = directory.find_last_of('/');
  directory.resize(slash == std::string::npos ? 0 : slash + 1);
  return (directory.empty() ? std::string("./") : directory) + "Quillet.so";
}

void* OpenLibrary(const std::string& path, std::string& error) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) error = dlerror();
  return library;
}

void* FindExport(void* library, const char* name) {
  return dlsym(library, name);
}

void CloseLibrary(void* library) {
  dlclose(library);
}

// no_sanitize: a cancellation's abi::__forced_unwind has no object to bind to.
__attribute__((no_sanitize("null"))) bool CallPlugin(void (*call)(void* argument), void* argument,
                                                     AbnormalEnd& end) {
  try {
    call(argument);
    return true;
  } catch (const platform::AbnormalEndException& failure) {
    end = {failure.kind(), std::string(failure.message(), failure.length())};
  } catch (const abi::__forced_unwind&) {
    throw;
  } catch (const std::exception& failure) {
    end = {"std::exception", failure.what()};
  } catch (...) {
    end = {"unknown", "an exception of unknown type left the plug-in"};
  }
  return false;
}

void RaiseHostFailure(const char* message) {
  throw std::runtime_error(message);
}

void SetBinaryStdout() {}

}  // namespace quillet::host
