// The structured-exception guard for a compiler without __try: an exception
// registration record on the thread's frame chain (%fs:0), whose handler
// unwinds the frames above it and lands back in the registering function.
// Written in assembly because every step must survive the compiler: the
// optimiser may drop the write to %fs:0, and after RtlUnwind only ESP is
// trusted (Windows' RtlUnwind does not keep EBX, ESI or EDI; Wine's does).

// The unwind routine the handler calls: the system's own. The guard's test
// builds name a wrapper that clobbers registers after unwinding, as Windows'
// RtlUnwind may, so that the guard is tested under Wine as Windows runs it.
#ifndef QUILLET_SEH_UNWIND
#define QUILLET_SEH_UNWIND *__imp__RtlUnwind@16
#endif

// What the handler passes on to the next one: the faults no guarded call can
// recover from (the thread's stack is gone, a guard page was touched).
#define STATUS_GUARD_PAGE_VIOLATION 0x80000001
#define STATUS_STACK_OVERFLOW 0xC00000FD
#define EXCEPTION_UNWIND_FLAGS 6  // EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND
#define EXCEPTION_CONTINUE_SEARCH 1
#define EXCEPTION_RECORD_DWORDS 20  // sizeof(EXCEPTION_RECORD) / 4, checked in Seh.h

// The registration record, at the bottom of QuilletRunRegistered's frame:
#define RECORD_PREVIOUS 0  // the next record of the chain
#define RECORD_HANDLER 4   // QuilletSehHandler
#define RECORD_CAUGHT 8    // where to copy a caught exception's record, or null
#define RECORD_SIZE 12
// From the record to the saved EBP: the record and the saved EDI, ESI, EBX.
#define RECORD_TO_FRAME (RECORD_SIZE + 12)

        .text

// bool QuilletRunRegistered(void (*call)(void*), void* argument,
//                           EXCEPTION_RECORD* caught)    (cdecl)
        .globl  _QuilletRunRegistered
        .p2align 4
_QuilletRunRegistered:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        subl    $RECORD_SIZE, %esp
        movl    16(%ebp), %eax
        movl    %eax, RECORD_CAUGHT(%esp)
        movl    $_QuilletSehHandler, RECORD_HANDLER(%esp)
        movl    %fs:0, %eax
        movl    %eax, RECORD_PREVIOUS(%esp)
        movl    %esp, %fs:0
        pushl   12(%ebp)
        call    *8(%ebp)
        addl    $4, %esp
        movl    $1, %eax
        jmp     .Lunregister
// The handler lands here with ESP at the record and EBP rebuilt from it.
.Lcaught:
        xorl    %eax, %eax
.Lunregister:
        movl    RECORD_PREVIOUS(%esp), %ecx
        movl    %ecx, %fs:0
        addl    $RECORD_SIZE, %esp
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret

// EXCEPTION_DISPOSITION QuilletSehHandler(EXCEPTION_RECORD* record,
//     void* registration, CONTEXT*, void*)    (cdecl, called by the system)
        .p2align 4
_QuilletSehHandler:
        movl    4(%esp), %eax
        testl   $EXCEPTION_UNWIND_FLAGS, 4(%eax)
        jnz     .Lpass
        cmpl    $STATUS_STACK_OVERFLOW, (%eax)
        je      .Lpass
        cmpl    $STATUS_GUARD_PAGE_VIOLATION, (%eax)
        je      .Lpass
        // Caught: this handler never returns to the system, so it may use
        // every register.
        movl    8(%esp), %edx
        movl    RECORD_CAUGHT(%edx), %edi
        testl   %edi, %edi
        jz      .Lunwind
        movl    %eax, %esi
        movl    $EXCEPTION_RECORD_DWORDS, %ecx
        cld
        rep movsl
.Lunwind:
        // RtlUnwind(registration, resume address, record, 0) runs the
        // termination handlers of every frame above ours (stdcall).
        pushl   $0
        pushl   8(%esp)
        pushl   $.Lunwound
        pushl   20(%esp)
        call    QUILLET_SEH_UNWIND
.Lunwound:
        // Only ESP is known now: the registration comes from this handler's
        // own argument, and the registering function's EBP from its frame.
        movl    8(%esp), %esp
        leal    RECORD_TO_FRAME(%esp), %ebp
        cld
        jmp     .Lcaught
.Lpass:
        movl    $EXCEPTION_CONTINUE_SEARCH, %eax
        ret
