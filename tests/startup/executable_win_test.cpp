// The shipped executable's resources, read the way Windows reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installation.h"

namespace {

std::string ManifestOf(const std::filesystem::path& program) {
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) return "<cannot load>";
  std::string text = "<no manifest>";
  // The manifest Windows applies when it creates the process.
  if (HRSRC found = FindResourceA(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST)) {
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    text.assign(bytes, SizeofResource(module, found));
  }
  FreeLibrary(module);
  return text;
}

TEST(ShippedExecutable, CarriesAManifestForWindows7To11WithLongPaths) {
  const std::string manifest = ManifestOf(ShellProgram());
  const char* expected[] = {
      "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true"
      "</longPathAware>",
      "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
  };
  for (const char* part : expected) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part << "\nin:\n" << manifest;
  }
  // A UTF-8 code page in the manifest would make the shell speak UTF-8
  // instead of CP936.
  EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos);
}

TEST(ShippedExecutable, CarriesAVersionResourceNamingQuorvaneShell) {
  const std::string program = NativeBytes(ShellProgram());
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
  ASSERT_NE(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, info.data()));

  auto string_value = [&](const char* name) {
    const std::string key = std::string("\\StringFileInfo\\080403a8\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
      return std::string("<none>");
    }
    return std::string(value);
  };
  EXPECT_EQ(string_value("ProductName"), "QuorvaneShell");
  EXPECT_EQ(string_value("OriginalFilename"), "quorvane-shell.exe");
  EXPECT_EQ(string_value("ProductVersion"), QS_PROJECT_VERSION);

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  const std::string version = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(version, QS_PROJECT_VERSION);
}

}  // namespace
