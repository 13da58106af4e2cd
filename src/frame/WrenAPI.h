// The host's data provider interface and the helpers through which every
// handler and export talks to it: the buffer convention, the parameter
// readers, the result and the host's template commands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/WrpAbi.h"

namespace quillet {

// COM-style interface implemented by the host ({9DD91B89-A551-4180-8A81-2CCF584CD4BF}).
// The slot order is the binary contract; slots 4 and 5 are never called.
// There is deliberately no virtual destructor: it would add slots.
struct IWRPDataProvider {
  virtual int32_t WRP_CALL QueryInterface(const void* iid, void** object) = 0;
  virtual uint32_t WRP_CALL AddRef() = 0;
  virtual uint32_t WRP_CALL Release() = 0;
  virtual int32_t WRP_CALL GetText(int32_t index, char* buffer, int32_t size) = 0;
  virtual int32_t WRP_CALL SetText(int32_t index, const char* text, int32_t length) = 0;
  virtual int32_t WRP_CALL GetInt(int32_t index) = 0;
  virtual int32_t WRP_CALL Reserved4() = 0;
  virtual int32_t WRP_CALL Reserved5() = 0;
  virtual int32_t WRP_CALL GetCount() = 0;
  virtual int32_t WRP_CALL ExpandTemplate(const char* text, int32_t length, int32_t flags,
                                          IWRPDataProvider* provider) = 0;

 protected:
  ~IWRPDataProvider() = default;
};

// The buffer convention of every text export: with a null buffer or a negative
// size the answer is the text's length; otherwise up to size bytes are copied,
// never a terminating zero, and a copy that faults answers 0.
int32_t CopyToBuffer(std::string_view text, char* buffer, int32_t size);

// Parameter index as text; anything the host fails with reads as empty. A
// length the process cannot hold ends the call as out of memory.
std::string GetParamStr(IWRPDataProvider* provider, int32_t index);

// The calls below pass a host failure on: it ends the macro call abnormally
// (kind EExternalException), after everything of the call has been released.

// Parameter index as a number.
int32_t GetParamInt(IWRPDataProvider* provider, int32_t index);

// The number of parameters.
int32_t GetParamCount(IWRPDataProvider* provider);

// Delivers text as the macro's result (item 0); the bytes are zero-terminated.
void SetResultText(IWRPDataProvider* context, const std::string& text);

// Has the host carry out a command of its template language; the outcome is
// then Context's item 0.
void ExpandHostTemplate(IWRPDataProvider* context, const std::string& command,
                        IWRPDataProvider* provider);

}  // namespace quillet
