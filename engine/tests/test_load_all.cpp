// All ten engine libraries resolve and load together, as the extension loads them.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

TEST(EngineLibraries, AllTenLoad) {
  for (const char* name : {"dllmain", "envconst", "timefunc", "astrofunc", "sgp4prop", "tle",
                           "extephem", "satstate", "obs", "sensor"}) {
    const std::string file = std::string("lib") + name + ".so";
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(handle, nullptr) << file << " is not loaded: " << dlerror();
    if (handle) dlclose(handle);
  }
}
