// wrphost, the reference host: loads a plug-in, answers its questions about
// parameters and host commands, and runs one macro or a whole template.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "host/Plugin.h"
#include "host/Provider.h"
#include "host/Template.h"

using namespace quillet;
using namespace quillet::host;

namespace {

constexpr int kExitAbnormalEnd = 1;
constexpr int kExitUnknownMacro = 2;
constexpr int kExitLoadFailure = 3;
constexpr int kExitUsage = 64;

const char kUsage[] =
    "usage: wrphost [--plugin PATH] [--account-dir DIR] [--folder NAME] COMMAND\n"
    "commands:\n"
    "  info                  name, version, status answers and macro list\n"
    "  html                  the information page\n"
    "  exec NAME [PARAM...]  run one macro and print its result bytes exactly\n"
    "  expand [FILE]         expand a template (standard input without FILE)\n";

struct Options {
  std::string pluginPath;
  std::string accountDir;
  std::string folder;
  std::vector<std::string> args;
};

struct Session {
  Plugin plugin;
  Options options;
};

int ReportAbnormalEnd(const host::AbnormalEnd& end) {
  std::fprintf(stderr, "wrphost: abnormal end: %s: %s\n", end.kind.c_str(), end.message.c_str());
  return kExitAbnormalEnd;
}

std::string AnswerCommand(const Options& options, std::string_view command) {
  std::fprintf(stderr, "wrphost: host command: %.*s\n", static_cast<int>(command.size()),
               command.data());
  if (command == "%ACCOUNTDIR") return options.accountDir;
  if (command == "%FolderName") return options.folder;
  return {};
}

// Runs one macro; answer is the export's answer (0 or -1).
bool RunMacro(Session& session, const std::string& name, std::vector<std::string> params,
              int32_t& answer, std::string& result, host::AbnormalEnd& end) {
  HostProvider context;
  HostProvider parameters(std::move(params));
  context.onCommand = [&](std::string_view command) {
    return AnswerCommand(session.options, command);
  };
  const auto length = static_cast<int32_t>(name.size());
  if (!CallGuarded(
          [&] { answer = session.plugin.execMacro(name.c_str(), length, &context, &parameters); },
          end))
    return false;
  result = context.setTextCalls().empty() ? std::string() : context.setTextCalls().back().text;
  return true;
}

int Info(Session& session) {
  host::AbnormalEnd end;
  std::string name, version, list;
  int32_t status = 0, needConfig = 0, needCom = 0;
  Plugin& p = session.plugin;
  if (!FetchText(p.getName, name, end) || !FetchText(p.getVersion, version, end) ||
      !CallGuarded([&] { status = p.getStatus(); }, end) ||
      !CallGuarded([&] { needConfig = p.needConfig(); }, end) ||
      !CallGuarded([&] { needCom = p.needCOM(); }, end) || !FetchText(p.getMacroList, list, end))
    return ReportAbnormalEnd(end);
  std::printf("name: %s\nversion: %s\nstatus: %d\nneed-config: %d\nneed-COM: %d\nmacros:\n",
              name.c_str(), version.c_str(), status, needConfig, needCom);
  std::istringstream lines(list);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::printf("  %s\n", line.c_str());
  }
  return 0;
}

int Html(Session& session) {
  host::AbnormalEnd end;
  std::string page;
  if (!FetchText(session.plugin.getInfo, page, end)) return ReportAbnormalEnd(end);
  std::fwrite(page.data(), 1, page.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}

// Runs work between WRP_Initialize and WRP_Finalize, as a host does.
template <typename Work>
int WithInitialized(Session& session, Work&& work) {
  host::AbnormalEnd end;
  if (!CallGuarded([&] { session.plugin.initialize(); }, end)) return ReportAbnormalEnd(end);
  const int code = work();
  if (!CallGuarded([&] { session.plugin.finalize(); }, end)) return ReportAbnormalEnd(end);
  return code;
}

int Exec(Session& session) {
  if (session.options.args.size() < 2) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  const std::string name = session.options.args[1];
  std::vector<std::string> params(session.options.args.begin() + 2, session.options.args.end());
  return WithInitialized(session, [&] {
    int32_t answer = 0;
    std::string result;
    host::AbnormalEnd end;
    if (!RunMacro(session, name, params, answer, result, end)) return ReportAbnormalEnd(end);
    if (answer != 0) {
      std::fprintf(stderr, "wrphost: the plug-in knows no macro %s (answer %d)\n", name.c_str(),
                   answer);
      return kExitUnknownMacro;
    }
    host::SetBinaryStdout();
    std::fwrite(result.data(), 1, result.size(), stdout);
    return 0;
  });
}

int Expand(Session& session) {
  std::string text;
  if (session.options.args.size() < 2 || session.options.args[1] == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream file(session.options.args[1], std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "wrphost: cannot read %s\n", session.options.args[1].c_str());
      return kExitUsage;
    }
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  return WithInitialized(session, [&] {
    bool failed = false;
    host::AbnormalEnd failure;
    const std::string out = ExpandText(
        text,
        [&](const std::string& name,
            std::vector<std::string>& params) -> std::optional<std::string> {
          if (failed) return std::string();
          int32_t answer = 0;
          std::string result;
          if (!RunMacro(session, name, params, answer, result, failure)) {
            failed = true;
            return std::string();
          }
          if (answer != 0) {
            std::fprintf(stderr, "wrphost: no macro %%%s: left as written\n", name.c_str());
            return std::nullopt;
          }
          return result;
        });
    if (failed) return ReportAbnormalEnd(failure);
    host::SetBinaryStdout();
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
  });
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (options.args.empty() && arg == "--plugin" && hasValue) {
      options.pluginPath = argv[++i];
    } else if (options.args.empty() && arg == "--account-dir" && hasValue) {
      options.accountDir = argv[++i];
    } else if (options.args.empty() && arg == "--folder" && hasValue) {
      options.folder = argv[++i];
    } else if (options.args.empty() && arg.rfind("--", 0) == 0) {
      return false;
    } else {
      options.args.push_back(arg);
    }
  }
  return !options.args.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Session session;
  if (!ParseOptions(argc, argv, session.options)) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  if (session.options.pluginPath.empty()) session.options.pluginPath = host::DefaultPluginPath();
  std::string error;
  if (!LoadPlugin(session.options.pluginPath, session.plugin, error)) {
    std::fprintf(stderr, "wrphost: %s\n", error.c_str());
    return kExitLoadFailure;
  }
  const std::string& command = session.options.args[0];
  int code = kExitUsage;
  if (command == "info") {
    code = Info(session);
  } else if (command == "html") {
    code = Html(session);
  } else if (command == "exec") {
    code = Exec(session);
  } else if (command == "expand") {
    code = Expand(session);
  } else {
    std::fputs(kUsage, stderr);
  }
  std::fflush(stdout);
  UnloadPlugin(session.plugin);
  return code;
}
