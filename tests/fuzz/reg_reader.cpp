// The .reg reader on any bytes: no crash, no hang, and whatever it loads dumps and exports.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "main/RegExport.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/RegFileReader.h"
#include "platform/memory/Windows1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillet;
  memory::Windows1252 ansi;
  memory::MemoryRegistry registry;
  (void)memory::ReadRegFile(std::string_view(reinterpret_cast<const char*>(data), size), ansi, registry);
  (void)registry.Dump();
  MemoryFileSystem files;
  files.fixedDrive('c');
  try {
    ExportToRegFile({files, ansi, registry}, "C:\\export.reg", RootKey::CurrentUser, ExportScope::WholeKey, "", "");
  } catch (const ExportNotRepresentable&) {
    // Names and texts a REGEDIT4 file cannot hold are refused: that is the answer, not a fault.
  } catch (const ExportIncomplete&) {
  }
  return 0;
}
