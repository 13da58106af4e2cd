// The structured-exception guard itself (i686/Seh.S): what it catches and copies,
// what it passes on to the next handler, the frame chain it leaves, and the
// registers its caller must find unchanged after a caught fault.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "platform/win32/Seh.h"

namespace quillet {

// Runs call under the guard with the registers a cdecl callee must keep set
// to 0x0B0B0B0B (EBX), 0x05050505 (ESI), 0x0D0D0D0D (EDI) and 0x0E0E0E0E
// (EBP), and stores what they hold afterwards in kept (i686/KeptRegisters.S).
extern "C" bool QuilletKeptRegisters(void (*call)(void*), uint32_t kept[4]);

namespace {

using platform::QuilletRunRegistered;

// The thread's innermost exception registration (the head of %fs:0).
void* TopOfFrameChain() {
  void* top = nullptr;
  asm volatile("movl %%fs:0, %0" : "=r"(top));
  return top;
}

void Fault(void*) {
  *static_cast<volatile int*>(nullptr) = 1;
}

void RaiseWithParameters(void*) {
  const ULONG_PTR information[2] = {7, 9};
  RaiseException(0xE0001234u, EXCEPTION_NONCONTINUABLE, 2, information);
}

TEST(Seh, CatchesFaultsAndRaisedExceptionsWithTheirRecords) {
  void* const top = TopOfFrameChain();
  EXCEPTION_RECORD record{};
  EXPECT_FALSE(QuilletRunRegistered(Fault, nullptr, &record));
  EXPECT_EQ(record.ExceptionCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_EQ(TopOfFrameChain(), top);

  EXPECT_FALSE(QuilletRunRegistered(RaiseWithParameters, nullptr, &record));
  EXPECT_EQ(record.ExceptionCode, 0xE0001234u);
  ASSERT_EQ(record.NumberParameters, 2u);
  EXPECT_EQ(record.ExceptionInformation[0], 7u);
  EXPECT_EQ(record.ExceptionInformation[1], 9u);
  EXPECT_FALSE(QuilletRunRegistered(Fault, nullptr, nullptr)) << "no record wanted";
  EXPECT_EQ(TopOfFrameChain(), top);

  int ran = 0;
  EXPECT_TRUE(
      QuilletRunRegistered([](void* counter) { ++*static_cast<int*>(counter); }, &ran, nullptr));
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(TopOfFrameChain(), top);
}

TEST(Seh, AnInnerGuardCatchesFirstAndTheOuterGoesOn) {
  void* const top = TopOfFrameChain();
  struct Nesting {
    bool innerCaught = false;
    int depth = 0;
  } nesting;
  EXPECT_TRUE(QuilletRunRegistered(
      [](void* argument) {
        auto* state = static_cast<Nesting*>(argument);
        for (; state->depth < 100; ++state->depth)
          if (QuilletRunRegistered(Fault, nullptr, nullptr)) return;
        state->innerCaught = true;
      },
      &nesting, nullptr));
  EXPECT_TRUE(nesting.innerCaught);
  EXPECT_EQ(nesting.depth, 100);
  EXPECT_EQ(TopOfFrameChain(), top);
}

// The next handler of the chain, at the top: it records what reached it and
// resumes the (continuable) exception where it was raised.
DWORD gReachedTop = 0;
LONG WINAPI ResumeAtTop(EXCEPTION_POINTERS* exception) {
  gReachedTop = exception->ExceptionRecord->ExceptionCode;
  return EXCEPTION_CONTINUE_EXECUTION;
}

TEST(Seh, StackOverflowAndGuardPageFaultsGoOnToTheNextHandler) {
  for (const DWORD code : {DWORD{STATUS_STACK_OVERFLOW}, DWORD{STATUS_GUARD_PAGE_VIOLATION}}) {
    gReachedTop = 0;
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(ResumeAtTop);
    const bool ended = QuilletRunRegistered(
        [](void* raised) { RaiseException(*static_cast<DWORD*>(raised), 0, 0, nullptr); },
        const_cast<DWORD*>(&code), nullptr);
    SetUnhandledExceptionFilter(previous);
    EXPECT_TRUE(ended) << std::hex << code << " was caught by the guard";
    EXPECT_EQ(gReachedTop, code) << std::hex << code;
  }
}

TEST(Seh, TheCallersRegistersAreKeptAcrossACaughtFault) {
  for (int i = 0; i < 100; ++i) {
    uint32_t kept[4] = {};
    ASSERT_FALSE(QuilletKeptRegisters(Fault, kept)) << "the fault was not caught";
    ASSERT_EQ(kept[0], 0x0B0B0B0Bu) << "EBX";
    ASSERT_EQ(kept[1], 0x05050505u) << "ESI";
    ASSERT_EQ(kept[2], 0x0D0D0D0Du) << "EDI";
    ASSERT_EQ(kept[3], 0x0E0E0E0Eu) << "EBP";
  }
}

}  // namespace
}  // namespace quillet
