/* Hand-written register-convention glue for the test host. It does not share the
   plug-in's attribute declarations, so a mistake in those cannot hide here.
   Host convention: arguments 1-3 in EAX, EDX, ECX, the rest pushed left to right,
   the callee pops its stack arguments, a Boolean comes back in AL. */
        .text

/* uint32_t tamrel_call_register(void* fn, uint32_t eax, uint32_t edx, uint32_t ecx,
                                 const uint32_t* stackArgs, int32_t count, int32_t* balanced)
   Pushes stackArgs[0..count) left to right, calls fn with the three registers loaded and
   reports in *balanced whether fn popped exactly its stack arguments. */
        .globl _tamrel_call_register
_tamrel_call_register:
        pushl %ebp
        movl  %esp, %ebp
        pushl %ebx
        pushl %esi
        pushl %edi
        movl  %esp, %edi
        movl  24(%ebp), %esi
        movl  28(%ebp), %ebx
        xorl  %ecx, %ecx
1:      cmpl  %ebx, %ecx
        jge   2f
        pushl (%esi,%ecx,4)
        incl  %ecx
        jmp   1b
2:      movl  8(%ebp), %esi
        movl  12(%ebp), %eax
        movl  16(%ebp), %edx
        movl  20(%ebp), %ecx
        call  *%esi
        xorl  %ecx, %ecx
        cmpl  %esp, %edi
        sete  %cl
        movl  32(%ebp), %edx
        testl %edx, %edx
        jz    3f
        movl  %ecx, (%edx)
3:      movl  %edi, %esp
        popl  %edi
        popl  %esi
        popl  %ebx
        popl  %ebp
        ret

/* AddAction: EAX id, EDX name, ECX hint; stack (pushed in this order) type pointer,
   highest index, count. Forwards to cdecl tamrel_on_add_action(id, name, hint, types,
   high, count) and pops 12 bytes. */
        .globl _tamrel_thunk_add_action
_tamrel_thunk_add_action:
        pushl %ebp
        movl  %esp, %ebp
        pushl 8(%ebp)          /* count */
        pushl 12(%ebp)         /* highest index */
        pushl 16(%ebp)         /* type pointer */
        pushl %ecx
        pushl %edx
        pushl %eax
        call  _tamrel_on_add_action
        addl  $24, %esp
        popl  %ebp
        ret   $12

/* AddFile: EAX path, DL flag. */
        .globl _tamrel_thunk_add_file
_tamrel_thunk_add_file:
        movzbl %dl, %edx
        pushl %edx
        pushl %eax
        call  _tamrel_on_add_file
        addl  $8, %esp
        ret

/* SetVariable: EAX name, EDX value. */
        .globl _tamrel_thunk_set_variable
_tamrel_thunk_set_variable:
        pushl %edx
        pushl %eax
        call  _tamrel_on_set_variable
        addl  $8, %esp
        ret

/* RunScript: EAX script. */
        .globl _tamrel_thunk_run_script
_tamrel_thunk_run_script:
        pushl %eax
        call  _tamrel_on_run_script
        addl  $4, %esp
        ret

/* InterfaceAccess: EAX code, EDX address of the buffer variable; Boolean in AL.
   The upper 24 bits of EAX are filled with garbage on purpose: only AL is the answer. */
        .globl _tamrel_thunk_interface_access
_tamrel_thunk_interface_access:
        pushl %edx
        pushl %eax
        call  _tamrel_on_interface_access
        addl  $8, %esp
        andl  $0xFF, %eax
        orl   $0x5A5A5A00, %eax
        ret
