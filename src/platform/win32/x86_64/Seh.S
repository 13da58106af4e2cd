// The structured-exception guard of 64-bit Windows, where exception handling
// is table-based: QuilletRunRegistered's unwind information names a handler
// of its own (QuilletSehHandler) for its frame, which unwinds the frames
// above it with RtlUnwindEx and resumes inside QuilletRunRegistered. Written
// in assembly so that the unwind information and every step after the
// unwind are ours, whatever the compiler does. After the unwind only RSP is
// trusted: every register a callee must keep (RBX, RBP, RDI, RSI, R12-R15,
// XMM6-XMM15) is saved in the frame by the prologue and reloaded from it.

// Where the handler resumes the registering function. The guard's test builds
// name a trampoline that clobbers every register first, as a system may leave
// them, and then goes on to QuilletSehResume.
#ifndef QUILLET_SEH_RESUME
#define QUILLET_SEH_RESUME QuilletSehResume
#endif

// What the handler passes on to the next one: the faults no guarded call can
// recover from (the thread's stack is gone, a guard page was touched).
#define STATUS_GUARD_PAGE_VIOLATION 0x80000001
#define STATUS_STACK_OVERFLOW 0xC00000FD
#define EXCEPTION_CONTINUE_SEARCH 1
#define EXCEPTION_RECORD_QWORDS 19  // sizeof(EXCEPTION_RECORD) / 8, checked in Seh.h
#define DISPATCHER_CONTEXT_RECORD 40   // DISPATCHER_CONTEXT::ContextRecord
#define DISPATCHER_HISTORY_TABLE 64    // DISPATCHER_CONTEXT::HistoryTable

// QuilletRunRegistered's frame below the eight saved registers (the
// establisher frame the handler is given is its bottom):
#define FRAME_CAUGHT 32   // where to copy a caught exception's record, or null
#define FRAME_XMM 48      // XMM6-XMM15, 16 bytes each, 16-byte aligned
#define FRAME_SIZE 216    // 32 bytes of home space + the above; keeps RSP 16-aligned at the call

        .text

// bool QuilletRunRegistered(void (*call)(void*), void* argument,
//                           EXCEPTION_RECORD* caught)
        .globl  QuilletRunRegistered
        .def    QuilletRunRegistered; .scl 2; .type 32; .endef
        .p2align 4
        .seh_proc QuilletRunRegistered
        .seh_handler QuilletSehHandler, @except
QuilletRunRegistered:
        pushq   %rbp
        .seh_pushreg %rbp
        pushq   %rbx
        .seh_pushreg %rbx
        pushq   %rsi
        .seh_pushreg %rsi
        pushq   %rdi
        .seh_pushreg %rdi
        pushq   %r12
        .seh_pushreg %r12
        pushq   %r13
        .seh_pushreg %r13
        pushq   %r14
        .seh_pushreg %r14
        pushq   %r15
        .seh_pushreg %r15
        subq    $FRAME_SIZE, %rsp
        .seh_stackalloc FRAME_SIZE
        movaps  %xmm6, FRAME_XMM+0(%rsp)
        .seh_savexmm %xmm6, FRAME_XMM+0
        movaps  %xmm7, FRAME_XMM+16(%rsp)
        .seh_savexmm %xmm7, FRAME_XMM+16
        movaps  %xmm8, FRAME_XMM+32(%rsp)
        .seh_savexmm %xmm8, FRAME_XMM+32
        movaps  %xmm9, FRAME_XMM+48(%rsp)
        .seh_savexmm %xmm9, FRAME_XMM+48
        movaps  %xmm10, FRAME_XMM+64(%rsp)
        .seh_savexmm %xmm10, FRAME_XMM+64
        movaps  %xmm11, FRAME_XMM+80(%rsp)
        .seh_savexmm %xmm11, FRAME_XMM+80
        movaps  %xmm12, FRAME_XMM+96(%rsp)
        .seh_savexmm %xmm12, FRAME_XMM+96
        movaps  %xmm13, FRAME_XMM+112(%rsp)
        .seh_savexmm %xmm13, FRAME_XMM+112
        movaps  %xmm14, FRAME_XMM+128(%rsp)
        .seh_savexmm %xmm14, FRAME_XMM+128
        movaps  %xmm15, FRAME_XMM+144(%rsp)
        .seh_savexmm %xmm15, FRAME_XMM+144
        .seh_endprologue
        movq    %r8, FRAME_CAUGHT(%rsp)
        movq    %rcx, %rax
        movq    %rdx, %rcx
        callq   *%rax
        movl    $1, %eax
        jmp     .Lreturn
// The handler's unwind lands here with RSP at the bottom of the frame.
        .globl  QuilletSehResume
QuilletSehResume:
        xorl    %eax, %eax
.Lreturn:
        cld
        movaps  FRAME_XMM+0(%rsp), %xmm6
        movaps  FRAME_XMM+16(%rsp), %xmm7
        movaps  FRAME_XMM+32(%rsp), %xmm8
        movaps  FRAME_XMM+48(%rsp), %xmm9
        movaps  FRAME_XMM+64(%rsp), %xmm10
        movaps  FRAME_XMM+80(%rsp), %xmm11
        movaps  FRAME_XMM+96(%rsp), %xmm12
        movaps  FRAME_XMM+112(%rsp), %xmm13
        movaps  FRAME_XMM+128(%rsp), %xmm14
        movaps  FRAME_XMM+144(%rsp), %xmm15
        addq    $FRAME_SIZE, %rsp
        popq    %r15
        popq    %r14
        popq    %r13
        popq    %r12
        popq    %rdi
        popq    %rsi
        popq    %rbx
        popq    %rbp
        ret
        .seh_endproc

// EXCEPTION_DISPOSITION QuilletSehHandler(EXCEPTION_RECORD* record,
//     void* establisherFrame, CONTEXT*, DISPATCHER_CONTEXT* dispatch)
// Called by the system while it looks for a handler (never while unwinding:
// it is registered for exceptions only). It uses only the registers a callee
// may change, so that the frames it unwinds see their own values.
        .def    QuilletSehHandler; .scl 3; .type 32; .endef
        .p2align 4
        .seh_proc QuilletSehHandler
QuilletSehHandler:
        subq    $56, %rsp
        .seh_stackalloc 56
        .seh_endprologue
        cmpl    $STATUS_STACK_OVERFLOW, (%rcx)
        je      .Lpass
        cmpl    $STATUS_GUARD_PAGE_VIOLATION, (%rcx)
        je      .Lpass
        // Caught: copy the record while it still exists.
        movq    FRAME_CAUGHT(%rdx), %r10
        testq   %r10, %r10
        jz      .Lunwind
        xorl    %eax, %eax
.Lcopy:
        movq    (%rcx,%rax,8), %r11
        movq    %r11, (%r10,%rax,8)
        incl    %eax
        cmpl    $EXCEPTION_RECORD_QWORDS, %eax
        jb      .Lcopy
.Lunwind:
        // RtlUnwindEx(establisherFrame, resume address, record, 0,
        //             dispatch->ContextRecord, dispatch->HistoryTable) runs
        // the termination handlers of every frame above ours and does not
        // return.
        movq    DISPATCHER_HISTORY_TABLE(%r9), %rax
        movq    %rax, 40(%rsp)
        movq    DISPATCHER_CONTEXT_RECORD(%r9), %rax
        movq    %rax, 32(%rsp)
        xorl    %r9d, %r9d
        movq    %rcx, %r8
        movq    %rdx, %rcx
        leaq    QUILLET_SEH_RESUME(%rip), %rdx
        callq   *__imp_RtlUnwindEx(%rip)
        int3
.Lpass:
        movl    $EXCEPTION_CONTINUE_SEARCH, %eax
        addq    $56, %rsp
        ret
        .seh_endproc
