#include "platform/DesktopIntegration.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "text/StringList.h"
#include "text/Basic.h"
#include "text/FileIO.h"

namespace vrk {
namespace fs = std::filesystem;
namespace {

std::string environment(const char* key) {
  const char* value = std::getenv(key);
  return value && *value ? std::string(value) : std::string();
}

std::string underHome(const char* key, const char* fallback) {
  std::string value = environment(key);
  if (!value.empty()) return value;
  return environment("HOME") + "/" + fallback;
}

std::string trimmedLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
  return text;
}

bool makeFolder(const std::string& dir, std::string* why) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (!ec) return true;
  if (why) *why = "cannot make " + dir + ": " + ec.message();
  return false;
}

bool removeFile(const std::string& path, std::string* why) {
  std::error_code ec;
  fs::remove(path, ec);
  if (!ec) return true;
  if (why) *why = "cannot remove " + path + ": " + ec.message();
  return false;
}

}  // namespace

DesktopPlaces desktopPlacesFromEnvironment_(ProcessRunner& runner) {
  DesktopPlaces places;
  places.dataHome = underHome("XDG_DATA_HOME", ".local/share");
  places.configHome = underHome("XDG_CONFIG_HOME", ".config");
  std::string answer;
  if (runner.run("xdg-user-dir", {"DESKTOP"}, "", &answer) == 0)
    places.desktopDir = trimmedLine(answer);
  if (places.desktopDir.empty()) places.desktopDir = environment("HOME") + "/Desktop";
  return places;
}

std::string DesktopIntegration::mimePackageText() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"" +
         std::string(kMemoFileType) +
         "\">\n"
         "    <comment>独自のファイル形式</comment>\n"
         "    <glob pattern=\"*.mxa\"/>\n"
         "  </mime-type>\n"
         "  <mime-type type=\"" +
         std::string(kPackageType) +
         "\">\n"
         "    <comment>独自のファイル形式</comment>\n"
         "    <glob pattern=\"*.maz\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

std::string DesktopIntegration::execQuoted_(std::string_view programPath) {
  // Inside the quotes " ` $ \ take a backslash; a string value then doubles
  // every backslash, and a field code needs "%%" for a plain "%".
  std::string quoted = "\"";
  for (const char c : programPath) {
    if (c == '"' || c == '`' || c == '$')
      quoted += "\\\\";
    else if (c == '\\')
      quoted += "\\\\\\";
    if (c == '%')
      quoted += "%%";
    else
      quoted += c;
  }
  return quoted + "\"";
}

std::string DesktopIntegration::desktopEntryText_(const std::string& programPath,
                                                  const std::string& workingDir) {
  std::string text =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=vrk\n"
      "Comment=Memo and outline manager\n"
      "Exec=" +
      execQuoted_(programPath) +
      " %f\n"
      "Terminal=false\n"
      "Categories=Office;\n"
      "MimeType=" +
      std::string(kMemoFileType) + ";" + std::string(kPackageType) + ";\n";
  if (!workingDir.empty()) text += "Path=" + workingDir + "\n";
  return text;
}

int DesktopIntegration::run_(const std::string& program, const StringList& arguments,
                             std::string* why) {
  std::string output;
  const int code = runner_.run(program, arguments, "", &output);
  if (code == 0) return 0;
  if (why) {
    *why = program + (code < 0 ? " could not run" : " failed (" + std::to_string(code) + ")");
    const std::string said = trimmedLine(output);
    if (!said.empty()) *why += ": " + said;
  }
  return -1;
}

int DesktopIntegration::updateDatabases_(std::string* why) {
  const std::string mime = places_.dataHome + "/mime";
  const std::string applications = places_.dataHome + "/applications";
  if (!makeFolder(mime + "/packages", why) || !makeFolder(applications, why)) return -1;
  if (run_("update-mime-database", {mime}, why) != 0) return -1;
  return run_("update-desktop-database", {applications}, why);
}

int DesktopIntegration::associate_(const std::string& programPath, std::string* why) {
  const std::string packages = places_.dataHome + "/mime/packages";
  const std::string applications = places_.dataHome + "/applications";
  if (!makeFolder(packages, why) || !makeFolder(applications, why)) return -1;
  if (writeFileAtomic_(packages + "/" + std::string(kPackageName), mimePackageText(), why) != 0)
    return -1;
  if (writeFileAtomic_(applications + "/" + std::string(kEntryName), desktopEntryText_(programPath),
                       why) != 0)
    return -1;
  if (updateDatabases_(why) != 0) return -1;
  return run_(
      "xdg-mime",
      {"default", std::string(kEntryName), std::string(kMemoFileType), std::string(kPackageType)},
      why);
}

int DesktopIntegration::unassociate(std::string* why) {
  if (!removeFile(places_.dataHome + "/mime/packages/" + std::string(kPackageName), why) ||
      !removeFile(places_.dataHome + "/applications/" + std::string(kEntryName), why))
    return -1;
  // xdg-mime cannot unset a default: the lines of our types go by hand.
  const std::string mimeApps = places_.configHome + "/mimeapps.list";
  std::string bytes;
  if (fs::exists(mimeApps) && readFileBytes_(mimeApps, bytes, why) == 0) {
    StringList lines, kept;
    bytesToLines_(bytes, lines);
    for (const std::string& line : lines)
      if (line.rfind(std::string(kMemoFileType) + "=", 0) != 0 &&
          line.rfind(std::string(kPackageType) + "=", 0) != 0)
        kept.push_back(line);
    std::string text;
    for (const std::string& line : kept) text += line + "\n";
    if (kept.size() != lines.size() && writeFileAtomic_(mimeApps, text, why) != 0) return -1;
  }
  return updateDatabases_(why);
}

int DesktopIntegration::makeShortcut_(const std::string& programPath, std::string* made,
                                      std::string* why) {
  if (!makeFolder(places_.desktopDir, why)) return -1;
  const fs::path program(programPath);
  const std::string path = places_.desktopDir + "/" + program.stem().string() + ".desktop";
  if (writeFileAtomic_(path, desktopEntryText_(programPath, program.parent_path().string()), why) !=
      0)
    return -1;
  // Desktops start only launchers that may be executed.
  if (::chmod(path.c_str(), 0755) != 0) {
    if (why) *why = "cannot make " + path + " executable";
    return -1;
  }
  if (made) *made = path;
  return 0;
}

}  // namespace vrk
