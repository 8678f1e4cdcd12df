// Opening the drawing named on the command line.
#include "exchange/command_line_open.h"

#include <algorithm>
#include <cctype>

#include "commands/drawing_file_commands.h"
#include "frame/file_helpers.h"
#include "frame/system_services.h"
#include "frame/messages.h"
#include "model/drawing_load.h"
#include "model/layer_files.h"
#include "platform/files.h"
#include "platform/script.h"
#include "view/redraw.h"

std::string CommandLineFileName;

namespace {

constexpr int16_t kMsgFileNotFound = 49;
constexpr int16_t kMsgKindNotOpened = 4146;
constexpr int16_t kMsgOpenableKinds = 4147;

const char* const kOpenableExtensions[] = {".SLD", ".LG1", ".H2R"};

std::string UpperExtensionOf(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  const size_t slash = name.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  std::string ext = name.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return ext;
}

bool HasDriveLetter(const std::string& name) {
  return name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
}

}  // namespace

std::string ResolveCommandLineName(const std::string& argument) {
  if (argument.empty() || HasDriveLetter(argument)) return argument;
  std::string host = argument;
  std::replace(host.begin(), host.end(), '\\', '/');
  if (host[0] != '/') host = plat::StartFolder + "/" + host;
  return plat::DosPathOf(host);
}

void OpenCommandLineFile() {
  if (CommandLineFileName.empty()) return;
  const std::string name = ResolveCommandLineName(CommandLineFileName);
  const std::string ext = UpperExtensionOf(name);
  if (std::none_of(std::begin(kOpenableExtensions), std::end(kOpenableExtensions),
                   [&](const char* e) { return ext == e; })) {
    ShowTitledMessage(GetMessageText(kMsgKindNotOpened, -39) + "\r\n" + name + "\r\n" +
                      GetMessageText(kMsgOpenableKinds, -39));
    return;
  }
  if (!TestPlainFileExists(name)) {
    ShowTitledMessage(GetMessageText(kMsgFileNotFound, -39) + "\r\n" + name);
    return;
  }
  if (AskSaveBeforeOpen()) return;
  LoadDrawingByExtension(name, 0);
  RecountAllLayerRecords();
  ZoomToAll("", 2);
}
