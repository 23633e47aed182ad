// FGraphCompilerContext (KismetCompiler): the base of graph compilers: the log their messages go to.
#pragma once

#include "CoreMinimal.h"
#include "Kismet2/CompilerResultsLog.h"

class KISMETCOMPILER_API FGraphCompilerContext
{
public:
	/** Compiler message log (errors, warnings, notes) */
	FCompilerResultsLog& MessageLog;

protected:
	FGraphCompilerContext(FCompilerResultsLog& InMessageLog)
		: MessageLog(InMessageLog)
	{
	}

	virtual ~FGraphCompilerContext() {}
};
