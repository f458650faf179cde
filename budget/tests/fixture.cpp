#include "budget/tests/fixture.h"

#include "budget/engine/project.h"
#include "budget/engine/report.h"
#include "common/textfile.h"

namespace velmora::budget::testing {

Fixture::Fixture() {
    files = dir / "Files";
    projects = dir / "Projects";
    std::filesystem::create_directories(files);
    std::filesystem::create_directories(projects);
    write("precios.csv",
          {"Code,Type,Description,Unit,Price,Date,,Pipes,,%,Labor,",
           ",,,,,,,Diameter,Weight,,Skilled,Unskilled",
           ",,,,,Month,Year,[in],[kg],,[d/u],[d/u]",
           "1501,Valves,\"Gate valve 2 in\",unit,40,1,2026,2,,,,",
           "1601,Valves,\"Ball valve 2 in\",unit,30,1,2026,2,,,,",
           "1701,Fittings,\"Male adapter 2 in\",unit,3,1,2026,2,,,,",
           "1801,Fittings,\"Elbow 2 in\",unit,2.5,1,2026,2,,,,",
           "1901,Connections,\"Saddle clamp 0.5 in\",unit,4,1,2026,0.5,,,,",
           "2001,Materials,\"Steel bar\",bar,6,1,2026,,5,,,",
           "2002,Materials,Sand,m3,10,1,2026,,,,,",
           "2004,Materials,Cement,Sack,8,1,2026,,,,,",
           "6001,Pipes,\"PVC pipe 2 in\",m,3,1,2026,2,,5,0.01,0.05",
           "6002,Pipes,\"PVC pipe 0.5 in\",m,1,1,2026,0.5,,5,0.002,0.01",
           "7001,Labor,\"Skilled labor\",day,100,1,2026,,,,,",
           "7002,Labor,\"Unskilled labor\",day,50,1,2026,,,,,"});
    write("obras.csv", {"Code,Component,Pipes,,Elbows,,Valves,,Tees,File,Unit",
                        ",,Inlet,Outlet,Inlet,Outlet,Inlet,Outlet,,,",
                        "1,Tank,1,1,1,0,1,1,0,tank.csv,unit",
                        "2,Tap,1,0,0,0,0,0,0,tap.csv,unit",
                        "3,Fence,0,0,0,0,0,0,0,fence.csv,m"});
    write("moe.csv", {"Benefit,Days,Month,Year,Share", "\"Rest day\",5,6,73,0.2", "Total,-----,-----,-----,0.2"});
    write("aportesm.cst", {"2002"});
    write("aportes.csv", {"Funding,Requested,Community,Others", "\"Skilled Labor\",100,0,0",
                          "\"Unskilled Labor\",50,50,0", "Materials,100,0,0", "Tools,100,0,0",
                          "Transport,40,60,0", "Indirect,90,0,10"});
    write("herram.cst", {"2"});
    write_bill("tank.csv", {"Description,Unit,Quantity,Code", "Sand,m3,3,2002", "Cement,Sack,5,2004",
                            "\"Skilled labor\",day,2,7001", "\"Unskilled labor\",day,4,7002"});
    write_bill("tap.csv", {"Description,Unit,Quantity,Code", "Cement,Sack,1,2004", "\"Steel bar\",bar,2,2001"});
    write_bill("fence.csv", {"Description,Unit,Quantity,Code", "\"Steel bar\",bar,1,2001"});
    doc.files_dir = files;
    doc.projects_dir = projects;
    doc.today = "11/12/2026";
}

void Fixture::write(const std::string& name, const std::vector<std::string>& lines) const {
    textfile::write_lines(files / name, lines);
}

void Fixture::write_bill(const std::string& name, const std::vector<std::string>& lines) const { write(name, lines); }

void Fixture::start() {
    inicializardatos(doc, messages);
    inicializar(doc);
}

void Fixture::set_quantity(int component, const std::string& quantity) {
    doc.SG2.set_cell(3, component, quantity);
    table_edited(doc, ProjectTable::SG2, 3, component);
}

int Fixture::pipe_row(const Grid& pipes, const std::string& code) const {
    for (int r = 1; r < pipes.row_count(); ++r)
        if (pipes(0, r) == code) return r;
    return -1;
}

}  // namespace velmora::budget::testing
