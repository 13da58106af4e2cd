// The structured-exception guard itself (Seh.S): what it catches and copies,
// what it passes on to the next handler, the frame chain it leaves, and the
// registers its caller must find unchanged after a caught fault.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <iterator>

#include "platform/win32/Seh.h"

namespace quillet {

// Runs call under the guard with the registers a callee must keep set to
// known values, and stores what they hold afterwards in kept
// (KeptRegisters.S of each processor).
extern "C" bool QuilletKeptRegisters(void (*call)(void*), uintptr_t* kept);

namespace {

using platform::QuilletRunRegistered;

struct KeptRegister {
  const char* name;
  uintptr_t value;
};
#if defined(__x86_64__)
constexpr KeptRegister kKeptRegisters[] = {
    {"RBX", 0x0B0B0B0B0B0B0B0Bu},  {"RBP", 0x0E0E0E0E0E0E0E0Eu}, {"RSI", 0x0505050505050505u},
    {"RDI", 0x0D0D0D0D0D0D0D0Du},  {"R12", 0x1212121212121212u}, {"R13", 0x1313131313131313u},
    {"R14", 0x1414141414141414u},  {"R15", 0x1515151515151515u}, {"XMM6", 0x0B0B0B0B0B0B0B0Bu},
    {"XMM15", 0x1515151515151515u}};

// 64-bit Windows keeps no frame chain: handlers are found through the unwind
// tables, so there is nothing a guard could leave behind.
void* TopOfFrameChain() {
  return nullptr;
}
#else
constexpr KeptRegister kKeptRegisters[] = {
    {"EBX", 0x0B0B0B0Bu}, {"ESI", 0x05050505u}, {"EDI", 0x0D0D0D0Du}, {"EBP", 0x0E0E0E0Eu}};

// The thread's innermost exception registration (the head of %fs:0).
void* TopOfFrameChain() {
  void* top = nullptr;
  asm volatile("movl %%fs:0, %0" : "=r"(top));
  return top;
}
#endif

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

// A frame between the guard and the fault that holds an object: the fault
// comes from a call, which the frame's unwind tables cover.
struct CountsItsEnd {
  int* ends;
  ~CountsItsEnd() { ++*ends; }
};
void (*volatile gFault)(void*) = Fault;
__attribute__((noinline)) void FaultHoldingAnObject(void* ends) {
  const CountsItsEnd held{static_cast<int*>(ends)};
  gFault(nullptr);
}

TEST(Seh, AFrameAboveTheGuardIsLeftWithoutItsDestructorsAndTheGuardGoesOn) {
  int ends = 0;
  for (int i = 0; i < 100; ++i)
    ASSERT_FALSE(QuilletRunRegistered(FaultHoldingAnObject, &ends, nullptr)) << i;
  // This compiler's C++ frames run no cleanup for a structured exception on
  // either processor: that is why every guarded call of the plug-in holds
  // no object of its own.
  EXPECT_EQ(ends, 0);
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
  constexpr size_t kCount = std::size(kKeptRegisters);
  for (int i = 0; i < 100; ++i) {
    uintptr_t kept[kCount] = {};
    ASSERT_FALSE(QuilletKeptRegisters(Fault, kept)) << "the fault was not caught";
    for (size_t r = 0; r < kCount; ++r)
      ASSERT_EQ(kept[r], kKeptRegisters[r].value) << kKeptRegisters[r].name;
  }
}

}  // namespace
}  // namespace quillet
