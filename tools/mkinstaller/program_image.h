// What the builder does to the programs it ships: reads resources out of a 32-bit Windows
// program, fills its version resource with the product's, and runs the vendor's signing
// command over it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mkinstaller {

// The data of resource (type, id), first language, within image: false when the file is no
// 32-bit Windows program or holds no such resource.
bool FindResourceData(const std::string& image, std::uint16_t type, std::uint16_t id, std::size_t* offset,
                      std::size_t* size);

// Whether the stub carries an uninstaller (resource) at all.
bool CarriesUninstaller(const std::string& stub);
// The uninstaller the stub carries, inflated; false with a message in *error.
bool UnpackUninstaller(const std::string& stub, std::string* uninstaller, std::string* error);

// The product's texts, in code page 1252 as Script.ini holds them.
struct VersionTexts {
  std::string productName;
  std::string version;  // dotted numbers; the fixed part takes its first four
  std::string company;
  std::string description;
  std::string copyright;
};

// A version resource (VS_VERSIONINFO, US English, code page 1252) of these texts.
std::string VersionResource(const VersionTexts& texts);

// Writes VersionResource(texts) over the image's version resource, in the room that one
// takes; false with a message in *error when there is none or the texts don't fit.
bool FillVersionResource(std::string* image, const VersionTexts& texts, std::string* error);

// text in single quotes for the shell.
std::string ShellQuoted(const std::string& text);

// Runs the signing command through the shell with "{in}" and "{out}" replaced by in and out
// (quoted); false with a message in *error unless it succeeds and leaves a non-empty out.
bool RunSigningCommand(const std::string& command, const std::string& in, const std::string& out,
                       std::string* error);

}  // namespace mkinstaller
