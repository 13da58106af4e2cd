// A caller of the guard that sets the registers a cdecl callee must keep
// (EBX, ESI, EDI, EBP) to known values, runs call under the guard and reads
// them back: written in assembly so that the compiler keeps nothing of its
// own in them, at any optimisation level.

// bool QuilletKeptRegisters(void (*call)(void*), uint32_t kept[4])    (cdecl)
        .text
        .globl  _QuilletKeptRegisters
        .p2align 4
_QuilletKeptRegisters:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        pushl   %ebp
        pushl   $0
        pushl   $0
        pushl   8(%ebp)
        movl    $0x0B0B0B0B, %ebx
        movl    $0x05050505, %esi
        movl    $0x0D0D0D0D, %edi
        movl    $0x0E0E0E0E, %ebp
        call    _QuilletRunRegistered
        addl    $12, %esp
        movl    %ebp, %ecx
        popl    %ebp
        movl    12(%ebp), %edx
        movl    %ebx, 0(%edx)
        movl    %esi, 4(%edx)
        movl    %edi, 8(%edx)
        movl    %ecx, 12(%edx)
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret
