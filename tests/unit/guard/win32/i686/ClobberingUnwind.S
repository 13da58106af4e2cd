// RtlUnwind as Windows may leave the registers: the guard's test trees build
// the guard to call this instead (QUILLET_SEH_CLOBBERING_UNWIND), because
// Wine's RtlUnwind keeps EBX, ESI and EDI, which Windows' own does not. EBP
// goes as well: the guard must trust nothing but ESP after the unwind.

// void __stdcall QuilletClobberingUnwind(void* frame, void* ip,
//                                        EXCEPTION_RECORD* record, void* value)
        .text
        .globl  _QuilletClobberingUnwind@16
        .p2align 4
_QuilletClobberingUnwind@16:
        pushl   16(%esp)
        pushl   16(%esp)
        pushl   16(%esp)
        pushl   16(%esp)
        call    *__imp__RtlUnwind@16
        movl    $0xBAD0BAD0, %ebx
        movl    $0xBAD1BAD1, %esi
        movl    $0xBAD2BAD2, %edi
        movl    $0xBAD3BAD3, %ebp
        ret     $16
