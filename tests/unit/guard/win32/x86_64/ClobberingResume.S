// Where the guard's test builds resume after an unwind (QUILLET_SEH_RESUME):
// every register a callee must keep is overwritten before the guard's own
// resume code runs, so that the tests see what the guard does when a system
// restores nothing but RSP.
        .text
        .globl  QuilletClobberingResume
        .p2align 4
QuilletClobberingResume:
        movabsq $0xBAD0BAD0BAD0BAD0, %rbx
        movq    %rbx, %rbp
        movq    %rbx, %rsi
        movq    %rbx, %rdi
        movq    %rbx, %r12
        movq    %rbx, %r13
        movq    %rbx, %r14
        movq    %rbx, %r15
        pcmpeqd %xmm6, %xmm6
        pcmpeqd %xmm7, %xmm7
        pcmpeqd %xmm8, %xmm8
        pcmpeqd %xmm9, %xmm9
        pcmpeqd %xmm10, %xmm10
        pcmpeqd %xmm11, %xmm11
        pcmpeqd %xmm12, %xmm12
        pcmpeqd %xmm13, %xmm13
        pcmpeqd %xmm14, %xmm14
        pcmpeqd %xmm15, %xmm15
        std
        jmp     QuilletSehResume
