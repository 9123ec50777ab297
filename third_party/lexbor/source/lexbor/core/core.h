/*
 * Copyright (C) 2020 Alexander Borisov
 *
 * Author: Alexander Borisov <borisov@lexbor.com>
 */

#ifndef LEXBOR_CORE_H
#define LEXBOR_CORE_H

#include "lexbor/core/base.h"
#include "lexbor/core/def.h"
#include "lexbor/core/types.h"
#include "lexbor/core/array.h"
#include "lexbor/core/array_obj.h"
#include "lexbor/core/avl.h"
#include "lexbor/core/bst.h"
#include "lexbor/core/bst_map.h"
#include "lexbor/core/dobject.h"
#include "lexbor/core/fs.h"
#include "lexbor/core/in.h"
#include "lexbor/core/lexbor.h"
#include "lexbor/core/mem.h"
#include "lexbor/core/mraw.h"
#include "lexbor/core/perf.h"
#include "lexbor/core/sbst.h"
#include "lexbor/core/shs.h"
#include "lexbor/core/str.h"
#include "lexbor/core/conv.h"
#include "lexbor/core/utils.h"
#include "lexbor/core/diyfp.h"
#include "lexbor/core/dtoa.h"
#include "lexbor/core/strtod.h"
#include "lexbor/core/serialize.h"

#endif /* LEXBOR_CORE_H */
