// A caller of the guard that sets the registers a callee must keep (RBX, RBP,
// RSI, RDI, R12-R15, and XMM6 and XMM15 of the ten vector ones) to known
// values, runs call under the guard and reads them back: written in assembly
// so that the compiler keeps nothing of its own in them, at any optimisation
// level.

// bool QuilletKeptRegisters(void (*call)(void*), uint64_t kept[10])
        .text
        .globl  QuilletKeptRegisters
        .def    QuilletKeptRegisters; .scl 2; .type 32; .endef
        .p2align 4
        .seh_proc QuilletKeptRegisters
QuilletKeptRegisters:
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
        subq    $72, %rsp
        .seh_stackalloc 72
        movdqa  %xmm6, 48(%rsp)
        .seh_savexmm %xmm6, 48
        movdqa  %xmm15, 32(%rsp)
        .seh_savexmm %xmm15, 32
        .seh_endprologue
        movq    %rdx, 64(%rsp)
        xorl    %edx, %edx
        xorl    %r8d, %r8d
        movabsq $0x0B0B0B0B0B0B0B0B, %rbx
        movabsq $0x0E0E0E0E0E0E0E0E, %rbp
        movabsq $0x0505050505050505, %rsi
        movabsq $0x0D0D0D0D0D0D0D0D, %rdi
        movabsq $0x1212121212121212, %r12
        movabsq $0x1313131313131313, %r13
        movabsq $0x1414141414141414, %r14
        movabsq $0x1515151515151515, %r15
        movq    %rbx, %xmm6
        movq    %r15, %xmm15
        callq   QuilletRunRegistered
        movq    64(%rsp), %rcx
        movq    %rbx, 0(%rcx)
        movq    %rbp, 8(%rcx)
        movq    %rsi, 16(%rcx)
        movq    %rdi, 24(%rcx)
        movq    %r12, 32(%rcx)
        movq    %r13, 40(%rcx)
        movq    %r14, 48(%rcx)
        movq    %r15, 56(%rcx)
        movq    %xmm6, %rdx
        movq    %rdx, 64(%rcx)
        movq    %xmm15, %rdx
        movq    %rdx, 72(%rcx)
        movdqa  32(%rsp), %xmm15
        movdqa  48(%rsp), %xmm6
        addq    $72, %rsp
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
