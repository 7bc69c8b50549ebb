#pragma once
// A real SMTP server for tests: Debian's aiosmtpd (/usr/bin/python3) on a
// free port of 127.0.0.1, started by tests/fixtures/mail/smtp_sink.py and
// stopped at the end of the scope. Every mail it takes is written as JSON
// with what Python's email package reads of it.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "support/ScratchDir.h"

namespace vrk {

class SmtpSink {
 public:
  static bool available() {
    return std::system("/usr/bin/python3 -c 'import aiosmtpd' >/dev/null 2>&1") == 0;
  }

  // tls: "CERT KEY USER PASSWORD" for STARTTLS with a login, else empty.
  explicit SmtpSink(const std::string& script, const std::string& tls = "") {
    const std::string command =
        "/usr/bin/python3 '" + script + "' '" + dir_.path() + "' " + tls + " >/dev/null 2>&1 &";
    if (std::system(command.c_str()) != 0) return;
    for (int i = 0; i < 200 && !std::filesystem::exists(dir_.file("port")); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    port_ = read(dir_.file("port"));
  }
  ~SmtpSink() { std::ofstream(dir_.file("stop")).put('\n'); }
  SmtpSink(const SmtpSink&) = delete;
  SmtpSink& operator=(const SmtpSink&) = delete;

  const std::string& port() const { return port_; }
  // The JSON of the mail taken as number n (from 0); empty when there is none.
  std::string mail(int n) const { return read(dir_.file(std::to_string(n) + ".json")); }

 private:
  static std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  ScratchDir dir_;
  std::string port_;
};

}  // namespace vrk
