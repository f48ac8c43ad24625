#include "platform/windows/file_access.h"

#include "common/utf16.h"

namespace propdesk::windows {

std::wstring Wide(std::string_view text) {
  const std::u16string units = Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

std::string Narrow(std::wstring_view text) { return Utf16ToUtf8(std::u16string(text.begin(), text.end())); }

bool IsPipePath(const std::wstring& path) {
  constexpr std::wstring_view kPipeFolder = L"pipe\\";
  const bool deviceNamespace = path.size() > 4 && (path[0] == L'\\' || path[0] == L'/') &&
                               (path[1] == L'\\' || path[1] == L'/') && (path[2] == L'.' || path[2] == L'?') &&
                               (path[3] == L'\\' || path[3] == L'/');
  if (!deviceNamespace || path.size() < 4 + kPipeFolder.size()) return false;
  std::wstring folder = path.substr(4, kPipeFolder.size());
  if (folder.back() == L'/') folder.back() = L'\\';
  return ::CompareStringOrdinal(folder.c_str(), static_cast<int>(folder.size()), kPipeFolder.data(),
                                static_cast<int>(kPipeFolder.size()), TRUE) == CSTR_EQUAL;
}

SystemResult OpenToExamine(const std::wstring& path, DWORD flags, FileHandle& file) {
  if (IsPipePath(path)) return {ERROR_NOT_SUPPORTED};
  file.Reset(Native(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr)));
  return {file.IsOpen() ? 0 : static_cast<int>(::GetLastError())};
}

SystemResult Examine(NativeHandle file, BY_HANDLE_FILE_INFORMATION& info) {
  return {::GetFileInformationByHandle(Win(file), &info) ? 0 : static_cast<int>(::GetLastError())};
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber, std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
}

bool IsLink(NativeHandle file, const BY_HANDLE_FILE_INFORMATION& info) {
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return false;
  FILE_ATTRIBUTE_TAG_INFO tag{};
  // A reparse point whose kind cannot be learnt is taken for a link: refusing is the safe side.
  return !::GetFileInformationByHandleEx(Win(file), FileAttributeTagInfo, &tag, sizeof tag) ||
         IsReparseTagNameSurrogate(tag.ReparseTag);
}

}  // namespace propdesk::windows
